#pragma once

#include <cstdint>

// Upper bounds of what KvXmlShape measures, from counts of single characters that a vector pass
// takes at a fraction of the measuring pass's cost: every element the parser opens ends its
// start tag at a '>' that follows no '/', every node but a data node starts at a '<' and every
// data node ends at one or at the end, every attribute but the last one seen holds an '='.
// Where the bounds stay within a limit the measure does too, and it need not run.
class KvXmlShapeBound
{
public:
    // The bounds of the first size bytes of text, counted whole (a zero byte, where the parser
    // stops, only makes them looser). The count stops early once the depth bound passes
    // depthLimit: the depth bound is then above the limit and the others are incomplete.
    static KvXmlShapeBound Count(const char* text, uint64_t size, uint64_t depthLimit);

    uint64_t GetDepth() const { return m_ulOpeningEnds; }
    uint64_t GetNodeCount() const { return 2 * m_ulOpeningBrackets + 1; }
    uint64_t GetAttributeCount() const { return m_ulEquals + 1; }

private:
    uint64_t m_ulOpeningEnds = 0;
    uint64_t m_ulOpeningBrackets = 0;
    uint64_t m_ulEquals = 0;
};
