#pragma once

#include <cstdint>

// The standard library's decimal readings (strtod, strtof in the "C" locale), with the same
// result and end for every text, taking a short way for the plain decimals that the source files
// hold: a sign, up to 19 digits with one point, nothing after them that continues a number.
// Those are exact in the binary format, as is the power of ten that scales them, so one
// correctly rounded division gives the library's result.
namespace KvDecimalText
{
double ReadDouble(const char* text, char** outEnd);
float ReadFloat(const char* text, char** outEnd);

// The sources' commonest numbers the shortest way, inline: up to nine digits with nothing after
// them that continues a number, exact in either format. The end of the digits with their value;
// null for any other text (a sign, a point, an exponent, more digits), left to the readings above.
inline const char* ReadShortWhole(const char* text, uint32_t& outValue)
{
    auto isDigit = [](char c)
    {
        return c >= '0' && c <= '9';
    };
    uint32_t value = 0;
    const char* position = text;
    for (int digits = 0; digits < 9 && isDigit(*position); ++digits, ++position)
        value = value * 10 + static_cast<uint32_t>(*position - '0');
    // The case bit set, 'E' reads as 'e' and 'X' as 'x'.
    const char next = static_cast<char>(*position | 0x20);
    if (position == text || isDigit(*position) || *position == '.' || next == 'e' || next == 'x')
        return nullptr;
    outValue = value;
    return position;
}

} // namespace KvDecimalText
