#pragma once

#include <cstdint>

// What parsing an XML text in place will build, found by one pass that follows the parser's
// grammar without recursion: the deepest nesting of elements (the parser recurses once per
// level) and the nodes and attributes it allocates. Where the parser stops at an error the
// pass stops there or later, so it never counts less than the parser builds.
class KvXmlShape
{
public:
    // The shape of a zero-terminated text, read up to its first zero byte as the parser does.
    static KvXmlShape Measure(const char* text);

    // Elements open at once at the deepest point.
    uint64_t GetDepth() const { return m_ulDepth; }
    // Element, data and CDATA nodes.
    uint64_t GetNodeCount() const { return m_ulNodes; }
    uint64_t GetAttributeCount() const { return m_ulAttributes; }

private:
    class Scanner;

    uint64_t m_ulDepth = 0;
    uint64_t m_ulNodes = 0;
    uint64_t m_ulAttributes = 0;
};
