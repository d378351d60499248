#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A whole JSON document parsed into one flat array of nodes in document order, for readers
// of large files of a known shape: no allocation per value, and a container's members follow
// it directly. It accepts exactly the texts nlohmann::json::parse accepts in its strict mode
// (a leading UTF-8 byte order mark, RFC 8259 numbers and strings with UTF-8 checked, nothing
// after the value but white space, no number that overflows a double) and gives the same
// values: integers that fit 64 bits stay integers, duplicate object keys keep the last value.
class JsonTape
{
public:
    enum class Kind : uint8_t
    {
        Null,
        Boolean,
        Integer,  // fits int64_t (negative numbers)
        Unsigned, // fits uint64_t
        Float,
        String,
        Array,
        Object,
    };

    struct Node
    {
        Kind m_eKind = Kind::Null;
        // Arrays: elements; objects: members.
        uint32_t m_uiCount = 0;
        // One past the last node of this value: the next sibling.
        uint32_t m_uiEnd = 0;
        union
        {
            bool m_bValue;
            int64_t m_iValue;
            uint64_t m_ulValue;
            double m_dValue;
            struct
            {
                uint32_t m_uiOffset;
                uint32_t m_uiLength;
            } m_Text;
        };
    };

    // Takes the elements of one array of the root object as they complete, so that a large
    // array never needs the whole tape.
    class ElementSink
    {
    public:
        virtual ~ElementSink() = default;
        // The first root member with the streamed key has opened as an array; the members
        // before it are complete on the tape.
        virtual void Started(const JsonTape& tape, uint32_t array) = 0;
        // One element of that array, complete on the tape; it is dropped from the tape after.
        virtual void Element(const JsonTape& tape, uint32_t element) = 0;
    };

    // Parses a document; false, with the tape empty, where nlohmann's parser refuses the text.
    // With a sink, the elements of the first array under streamedKey in the root object go to
    // it instead of staying on the tape (the array keeps its count).
    bool Parse(std::string_view text, std::string_view streamedKey = {}, ElementSink* pSink = nullptr);

    // The root value; the tape must hold a parsed document.
    uint32_t Root() const { return 0; }
    const Node& At(uint32_t index) const { return m_aNodes[index]; }
    // A string node's decoded bytes.
    std::string_view Text(uint32_t index) const
    {
        const Node& node = m_aNodes[index];
        return std::string_view(m_strText).substr(node.m_Text.m_uiOffset, node.m_Text.m_uiLength);
    }
    // The value of an object's last member with this key.
    std::optional<uint32_t> Member(uint32_t object, std::string_view key) const;
    // An array's first element (the array must not be empty), and an element's next sibling.
    static uint32_t First(uint32_t container) { return container + 1; }
    uint32_t Next(uint32_t element) const { return m_aNodes[element].m_uiEnd; }

private:
    class Parser;

    std::vector<Node> m_aNodes;
    std::string m_strText;
};
