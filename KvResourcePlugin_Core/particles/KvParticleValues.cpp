#include "particles/KvParticleValues.h"

#include "importers/KvXmlNumbers.h"
#include "particles/KvParticleRecords.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace
{
// Names and paths of effect files are ASCII; other bytes stay as they are.
char LowerCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualWithoutCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return LowerCase(x) == LowerCase(y); });
}

// Items separated by ",", each converted by convert(start, outEnd), which leaves outEnd at the
// start when no item begins there. Stops at the first item that does not convert and after an
// item not followed by ",".
template <class T, class Convert>
size_t ReadItems(const char* text, std::span<T> values, Convert convert)
{
    if (!text)
        return 0;
    size_t count = 0;
    for (const char* pItem = text; count < values.size();)
    {
        const char* pEnd = pItem;
        const T value = convert(pItem, pEnd);
        if (pEnd == pItem)
            break;
        values[count++] = value;
        if (*pEnd != ',')
            break;
        pItem = pEnd + 1;
    }
    return count;
}

template <class T, class Wide>
T Clamped(Wide value)
{
    return static_cast<T>(
        std::clamp<Wide>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

int32_t ConvertInteger(const char* pItem, const char*& outEnd)
{
    char* pEnd = nullptr;
    const long long value = std::strtoll(pItem, &pEnd, 0);
    outEnd = pEnd;
    return Clamped<int32_t>(value);
}

uint32_t ConvertMask(const char* pItem, const char*& outEnd)
{
    char* pEnd = nullptr;
    const unsigned long long value = std::strtoull(pItem, &pEnd, 16);
    outEnd = pEnd;
    return Clamped<uint32_t>(value);
}

// Reads up to N floats into the given components, which keep their values where no item is read.
template <size_t N>
size_t ReadComponents(const char* text, float* const (&components)[N])
{
    float values[N];
    for (size_t index = 0; index < N; ++index)
        values[index] = *components[index];
    const size_t count = KvParticleValues::ReadFloats(text, values);
    for (size_t index = 0; index < count; ++index)
        *components[index] = values[index];
    return count;
}
} // namespace

namespace KvParticleValues
{
bool ReadFlag(const char* text, bool& value)
{
    if (!text)
        return false;
    if (EqualWithoutCase(text, "TRUE") || EqualWithoutCase(text, "1"))
        value = true;
    else if (EqualWithoutCase(text, "FALSE") || EqualWithoutCase(text, "0"))
        value = false;
    else
        return false;
    return true;
}

void ReadFloat(const char* text, float& value)
{
    if (text)
        value = KvXmlNumbers::ReadFloat(text);
}

size_t ReadFloats(const char* text, std::span<float> values)
{
    return ReadItems(text, values, KvXmlNumbers::ReadLeadingFloat);
}

size_t ReadIntegers(const char* text, std::span<int32_t> values)
{
    return ReadItems(text, values, ConvertInteger);
}

size_t ReadMasks(const char* text, std::span<uint32_t> values)
{
    return ReadItems(text, values, ConvertMask);
}

size_t ReadList(const char* text, KvVector2& value)
{
    return ReadComponents(text, {&value.x, &value.y});
}

size_t ReadList(const char* text, KvVector3& value)
{
    return ReadComponents(text, {&value.x, &value.y, &value.z});
}

size_t ReadList(const char* text, KvVector4& value)
{
    return ReadComponents(text, {&value.x, &value.y, &value.z, &value.w});
}

size_t ReadList(const char* text, KvParticleBox& value)
{
    return ReadComponents(text, {&value.m_vMin.x, &value.m_vMin.y, &value.m_vMin.z, &value.m_vMax.x,
                                 &value.m_vMax.y, &value.m_vMax.z});
}

size_t ReadList(const char* text, KvParticleInt2& value)
{
    int32_t values[2] = {value.m_iX, value.m_iY};
    const size_t count = ReadIntegers(text, values);
    value = {values[0], values[1]};
    return count;
}

size_t ReadList(const char* text, KvColor& value)
{
    int32_t values[4] = {value.r, value.g, value.b, value.a};
    const size_t count = ReadIntegers(text, values);
    const auto channel = [](int32_t item)
    {
        return static_cast<uint8_t>(std::clamp(item, 0, 255));
    };
    value = {channel(values[0]), channel(values[1]), channel(values[2]), channel(values[3])};
    return count;
}

bool ReadName(const char* text, std::span<const tName> names, int32_t& value)
{
    if (!text)
        return false;
    const auto found = std::find_if(names.begin(), names.end(),
                                    [&](const tName& name) { return EqualWithoutCase(text, name.m_szName); });
    if (found == names.end())
        return false;
    value = found->m_iValue;
    return true;
}

std::string NormalisePath(std::string_view path)
{
    constexpr std::string_view kParent = "..\\";
    while (path.starts_with(kParent))
        path.remove_prefix(kParent.size());
    std::string normal(path);
    std::transform(normal.begin(), normal.end(), normal.begin(), LowerCase);
    return normal;
}
} // namespace KvParticleValues
