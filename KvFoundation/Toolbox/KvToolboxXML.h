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

    // Reads the stream from its current position to its end and parses it. False (with a
    // logged reason) when the stream is too large or cannot be read whole.
    bool Load(KvIOStream& stream);

    rapidxml::xml_document<>& GetDocument() { return m_Document; }
    // The first element of the document with the given name, or null.
    rapidxml::xml_node<>* GetRoot(const char* name) { return m_Document.first_node(name); }

private:
    std::vector<char> m_aText;
    rapidxml::xml_document<> m_Document;
};

// The text of a node's attribute; null when the node or the attribute is missing.
inline const char* KvXmlAttributeText(const rapidxml::xml_node<>* pNode, const char* name)
{
    const rapidxml::xml_attribute<>* pAttribute = pNode ? pNode->first_attribute(name) : nullptr;
    return pAttribute ? pAttribute->value() : nullptr;
}
