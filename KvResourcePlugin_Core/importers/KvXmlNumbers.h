#pragma once

#include <cstdint>

// The number readings of the XML importers.
namespace KvXmlNumbers
{
// Unsigned decimal: empty gives 0, a leading "+" is skipped, a leading "-" gives 0, digits up
// to the first other character; above 4294967295 gives 0; a "." after the digits reads the
// whole text as a float rounded half up (0 outside the unsigned range).
uint32_t ReadUnsigned(const char* text);
// Decimal float; out of single-precision range, or below the smallest normal magnitude, gives 0.
float ReadFloat(const char* text);
// The same reading of the float that starts the text (after white space); outEnd is set past
// it, or to the text itself when no number starts there.
float ReadLeadingFloat(const char* text, const char*& outEnd);
} // namespace KvXmlNumbers
