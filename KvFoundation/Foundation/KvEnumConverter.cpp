#include "Foundation/KvEnumConverter.h"

#include "Foundation/KvReport.h"

namespace
{
constexpr const char* kFile = "KvFoundation/api/public/Foundation/KvEnumConverter";
constexpr const char* kNone = "[NONE]";
} // namespace

KvEnumConverterBase::KvEnumConverterBase(const char* enumName, uint32_t count)
    : m_strEnumName(enumName), m_apStrings(static_cast<size_t>(count) + 1, nullptr), m_uiCount(count)
{
}

void KvEnumConverterBase::AddString(uint32_t value, const char* text)
{
    if (value > m_uiCount)
        KvFatalReport(KV_REPORT_SITE, "String %i (%s) is outside the enumeration %s", static_cast<int>(value),
                      text, m_strEnumName.c_str());
    // The first and the last value may be named again; the later name wins.
    const char* pOld = m_apStrings[value];
    if (pOld && value != 0 && value != m_uiCount - 1)
        KvFatalReport({kFile, "KvEnumConverterBase::AddString", 104}, "String %i (%s) already defined as %s",
                      static_cast<int>(value), text, pOld);
    m_apStrings[value] = text;
    ++m_uiDeclared;
}

void KvEnumConverterBase::Finish()
{
    if (!m_apStrings[0])
        AddString(0, kNone);
    if (!m_apStrings[m_uiCount])
        AddString(m_uiCount, kNone);
    if (m_uiDeclared != m_uiCount + 1)
    {
        const std::string function = "KvEnumConverter<enum " + m_strEnumName + ">::KvEnumConverter";
        KvFatalReport({kFile, function.c_str(), 147}, "Failed to declare all strings in enum table");
    }
    m_ValueOfName.reserve(m_uiCount + 1);
    m_abNameShared.assign(m_uiCount + 1, false);
    for (uint32_t value = 0; value <= m_uiCount; ++value)
    {
        if (!m_apStrings[value])
            continue;
        const auto [found, bNew] = m_ValueOfName.emplace(m_apStrings[value], value);
        if (!bNew)
            m_abNameShared[found->second] = m_abNameShared[value] = true;
    }
}

const char* KvEnumConverterBase::ToString(uint32_t value) const
{
    return value <= m_uiCount ? m_apStrings[value] : nullptr;
}

uint32_t KvEnumConverterBase::FromString(const char* text) const
{
    // The terminator is no value to convert to.
    const std::optional<uint32_t> value = text ? FindValue(text) : std::nullopt;
    return value && *value < m_uiCount ? *value : 0;
}

std::optional<uint32_t> KvEnumConverterBase::FindValue(std::string_view name) const
{
    const auto found = m_ValueOfName.find(name);
    if (found == m_ValueOfName.end())
        return std::nullopt;
    return found->second;
}

bool KvEnumConverterBase::IsNameShared(uint32_t value) const
{
    return value <= m_uiCount && m_abNameShared[value];
}
