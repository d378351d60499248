#pragma once

#include <rapidxml/rapidxml.hpp>

#include <cstdint>
#include <vector>

class KvIOStream;

// An XML document read whole from a stream and parsed in place. Malformed XML is fatal
// (through rapidxml::parse_error_handler), as it is for every XML source of the pipeline.
class KvXmlDocument
{
public:
    // Largest source accepted; a bigger stream is refused rather than read into memory.
    static constexpr uint64_t kMaxSourceSize = 256ull * 1024 * 1024;
    // Deepest element nesting accepted: the parser recurses once per level, on the caller's
    // stack. Real sources nest a handful of levels.
    static constexpr uint32_t kMaxDepth = 256;
    // The parser's nodes and attributes may take this many times the text's size, plus the
    // allowance; a text of a node every few bytes would take 25 times its size.
    static constexpr uint32_t kMaxTreeFactor = 8;
    static constexpr uint32_t kTreeAllowance = 1024 * 1024;

    // Reads the stream from its current position to its end and parses it. False (with a
    // logged reason) when the stream is too large, cannot be read whole, or nests or holds
    // more than the limits above.
    bool Load(KvIOStream& stream);

    rapidxml::xml_document<>& GetDocument() { return m_Document; }
    // The memory the loaded text and its parse take, as estimated before parsing.
    uint64_t GetParsedBytes() const { return m_aText.capacity() + m_ulTreeBytes; }
    // The first element of the document with the given name, or null.
    rapidxml::xml_node<>* GetRoot(const char* name) { return m_Document.first_node(name); }

private:
    // Whether the text read stays within the depth and tree limits; logs why not.
    bool IsParseable(const char* name, uint64_t size);

    std::vector<char> m_aText;
    uint64_t m_ulTreeBytes = 0;
    rapidxml::xml_document<> m_Document;
};

// The text of a node's attribute; null when the node or the attribute is missing.
inline const char* KvXmlAttributeText(const rapidxml::xml_node<>* pNode, const char* name)
{
    const rapidxml::xml_attribute<>* pAttribute = pNode ? pNode->first_attribute(name) : nullptr;
    return pAttribute ? pAttribute->value() : nullptr;
}
