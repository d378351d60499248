#pragma once

#include <rapidxml/rapidxml.hpp>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

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
    // The memory the loaded text and its parse take: the text and the nodes and attributes of
    // the tree, as many as the measure before parsing would count.
    uint64_t GetParsedBytes() const;
    // The first element of the document with the given name, or null.
    rapidxml::xml_node<>* GetRoot(const char* name) { return m_Document.first_node(name); }

private:
    static uint64_t TreeBytes(uint64_t nodes, uint64_t attributes);
    // Whether the text read stays within the depth and tree limits; logs why not.
    bool IsParseable(const char* name, uint64_t size);

    std::unique_ptr<char[]> m_aText;
    uint64_t m_ulTextBytes = 0;
    rapidxml::xml_document<> m_Document;
};

// The text of a node's attribute; null when the node or the attribute is missing.
inline const char* KvXmlAttributeText(const rapidxml::xml_node<>* pNode, const char* name)
{
    const rapidxml::xml_attribute<>* pAttribute = pNode ? pNode->first_attribute(name) : nullptr;
    return pAttribute ? pAttribute->value() : nullptr;
}

// The texts of a node's attributes of the given names, found in one walk over its attributes
// instead of one search per name. As with first_attribute, the first attribute of a name counts;
// a name the node lacks (or a null node) gives null.
template <size_t kCount>
class KvXmlAttributes
{
public:
    KvXmlAttributes(const rapidxml::xml_node<>* pNode, const std::array<std::string_view, kCount>& names)
    {
        m_aTexts.fill(nullptr);
        // Sources list the attributes in one order, mostly that of the names: the search starts
        // after the name found last, so that it mostly succeeds at once.
        size_t start = 0;
        for (auto* pAttribute = pNode ? pNode->first_attribute() : nullptr; pAttribute;
             pAttribute = pAttribute->next_attribute())
        {
            const std::string_view name(pAttribute->name(), pAttribute->name_size());
            for (size_t tried = 0, index = start; tried < kCount;
                 ++tried, index = index + 1 == kCount ? 0 : index + 1)
            {
                if (!IsSameName(names[index], name))
                    continue;
                if (!m_aTexts[index])
                    m_aTexts[index] = pAttribute->value();
                start = index + 1 == kCount ? 0 : index + 1;
                break;
            }
        }
    }

    const char* operator[](size_t index) const { return m_aTexts[index]; }

private:
    template <class Word>
    static Word LoadWord(const char* text)
    {
        Word word;
        std::memcpy(&word, text, sizeof(Word));
        return word;
    }

    // Whether the two words at each end of the texts match; together they cover texts from one
    // to two words long.
    template <class Word>
    static bool AreEndsSame(const char* first, const char* second, size_t size)
    {
        const size_t last = size - sizeof(Word);
        return LoadWord<Word>(first) == LoadWord<Word>(second) &&
               LoadWord<Word>(first + last) == LoadWord<Word>(second + last);
    }

    // Names are short: compared a word or two at a time instead of by a call to the library.
    static bool IsSameName(std::string_view expected, std::string_view name)
    {
        const size_t size = name.size();
        if (expected.size() != size)
            return false;
        const char* first = expected.data();
        const char* second = name.data();
        if (size > 2 * sizeof(uint64_t))
            return expected == name;
        if (size >= sizeof(uint64_t))
            return AreEndsSame<uint64_t>(first, second, size);
        if (size >= sizeof(uint32_t))
            return AreEndsSame<uint32_t>(first, second, size);
        if (size >= sizeof(uint16_t))
            return AreEndsSame<uint16_t>(first, second, size);
        return size == 0 || *first == *second;
    }

    std::array<const char*, kCount> m_aTexts;
};
