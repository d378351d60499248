#include "Toolbox/KvToolboxXML.h"

#include "Foundation/KvReport.h"
#include "IO/KvIOStream.h"
#include "Toolbox/KvXmlShape.h"
#include "Toolbox/KvXmlShapeBound.h"

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
    // Without an '&' the translation has nothing to replace: the tree is the same either way.
    if (std::memchr(m_aText.get(), '&', remaining))
        m_Document.parse<0>(m_aText.get());
    else
        m_Document.parse<rapidxml::parse_no_entity_translation>(m_aText.get());
    return true;
}

uint64_t KvXmlDocument::GetParsedBytes() const
{
    uint64_t nodes = 0;
    uint64_t attributes = 0;
    // Depth first, climbing back through the parents instead of recursing.
    const rapidxml::xml_node<>* pNode = m_Document.first_node();
    while (pNode)
    {
        ++nodes;
        for (auto* pAttribute = pNode->first_attribute(); pAttribute;
             pAttribute = pAttribute->next_attribute())
            ++attributes;
        if (const rapidxml::xml_node<>* pChild = pNode->first_node())
        {
            pNode = pChild;
            continue;
        }
        while (pNode != &m_Document && !pNode->next_sibling())
            pNode = pNode->parent();
        pNode = pNode == &m_Document ? nullptr : pNode->next_sibling();
    }
    return m_ulTextBytes + TreeBytes(nodes, attributes);
}

uint64_t KvXmlDocument::TreeBytes(uint64_t nodes, uint64_t attributes)
{
    return nodes * sizeof(rapidxml::xml_node<>) + attributes * sizeof(rapidxml::xml_attribute<>);
}

bool KvXmlDocument::IsParseable(const char* name, uint64_t size)
{
    const uint64_t treeLimit = size * kMaxTreeFactor + kTreeAllowance;
    const KvXmlShapeBound bound = KvXmlShapeBound::Count(m_aText.get(), size, kMaxDepth);
    // The bounds mostly settle it; the exact measure runs only where they might not hold.
    if (bound.GetDepth() <= kMaxDepth &&
        TreeBytes(bound.GetNodeCount(), bound.GetAttributeCount()) <= treeLimit)
        return true;
    // The parser recurses once per level and allocates every node and attribute: both are
    // bounded before it runs, by one pass over the text.
    const KvXmlShape shape = KvXmlShape::Measure(m_aText.get());
    if (shape.GetDepth() > kMaxDepth)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                    "Ignoring XML source '%s': it nests elements deeper than %u levels", name, kMaxDepth);
        return false;
    }
    const uint64_t treeBytes = TreeBytes(shape.GetNodeCount(), shape.GetAttributeCount());
    if (treeBytes > treeLimit)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                    "Ignoring XML source '%s': parsing its %llu bytes would take %llu, more than %u times as "
                    "many and %u more",
                    name, static_cast<unsigned long long>(size), static_cast<unsigned long long>(treeBytes),
                    kMaxTreeFactor, kTreeAllowance);
        return false;
    }
    return true;
}
