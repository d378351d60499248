#include "Toolbox/KvToolboxXML.h"

#include "Foundation/KvReport.h"
#include "IO/KvIOStream.h"
#include "Toolbox/KvXmlShape.h"

#include <cstring>
#include <string>

namespace
{
// Characters of the remaining text shown with a parse error.
constexpr size_t kExcerptLength = 30;
} // namespace

namespace rapidxml
{
void parse_error_handler(const char* what, void* where)
{
    const char* remainder = static_cast<const char*>(where);
    const std::string excerpt(remainder, strnlen(remainder, kExcerptLength));
    KvFatalReport({"Toolbox\\KvToolboxXML", "rapidxml::parse_error_handler", 24},
                  "Parse error : %s with '%s'", what, excerpt.c_str());
}
} // namespace rapidxml

bool KvXmlDocument::Load(KvIOStream& stream)
{
    const uint64_t size = stream.GetSize();
    const uint64_t position = stream.Tell();
    const uint64_t remaining = size > position ? size - position : 0;
    if (remaining > kMaxSourceSize)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "XML source '%s' is too large (%llu bytes)",
                    stream.GetName(), static_cast<unsigned long long>(remaining));
        return false;
    }
    // Not zeroed first: the read fills all of it but the terminator.
    m_ulTextBytes = remaining + 1;
    m_aText.reset(new char[m_ulTextBytes]);
    m_aText[remaining] = '\0';
    if (stream.Read(m_aText.get(), remaining) != remaining)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "XML source '%s' could not be read whole",
                    stream.GetName());
        return false;
    }
    m_Document.clear();
    if (!IsParseable(stream.GetName(), remaining))
        return false;
    m_Document.parse<0>(m_aText.get());
    return true;
}

bool KvXmlDocument::IsParseable(const char* name, uint64_t size)
{
    // The parser recurses once per level and allocates every node and attribute: both are
    // bounded before it runs, by one pass over the text.
    const KvXmlShape shape = KvXmlShape::Measure(m_aText.get());
    if (shape.GetDepth() > kMaxDepth)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                    "Ignoring XML source '%s': it nests elements deeper than %u levels", name, kMaxDepth);
        return false;
    }
    m_ulTreeBytes = shape.GetNodeCount() * sizeof(rapidxml::xml_node<>) +
                    shape.GetAttributeCount() * sizeof(rapidxml::xml_attribute<>);
    if (m_ulTreeBytes > size * kMaxTreeFactor + kTreeAllowance)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                    "Ignoring XML source '%s': parsing its %llu bytes would take %llu, more than %u times as "
                    "many and %u more",
                    name, static_cast<unsigned long long>(size),
                    static_cast<unsigned long long>(m_ulTreeBytes), kMaxTreeFactor, kTreeAllowance);
        return false;
    }
    return true;
}
