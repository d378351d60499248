#include "Toolbox/KvDecimalText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
// The largest integer and power of ten that a binary format holds exactly.
template <class Real>
struct tExactLimits;
template <>
struct tExactLimits<double>
{
    static constexpr uint64_t kMaxMantissa = 1ull << 53;
    static constexpr int kMaxPowerOfTen = 22;
};
template <>
struct tExactLimits<float>
{
    static constexpr uint64_t kMaxMantissa = 1ull << 24;
    static constexpr int kMaxPowerOfTen = 10;
};

template <class Real>
constexpr auto kPowersOfTen = []
{
    std::array<Real, tExactLimits<Real>::kMaxPowerOfTen + 1> powers{};
    powers[0] = 1;
    for (size_t power = 1; power < powers.size(); ++power)
        powers[power] = powers[power - 1] * 10;
    return powers;
}();

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The digits from text on, appended to mantissa (wrapping past 19 digits); the end of the digits.
const char* ReadDigits(const char* text, uint64_t& mantissa)
{
    for (; IsDigit(*text); ++text)
        mantissa = mantissa * 10 + static_cast<uint64_t>(*text - '0');
    return text;
}

// The plain decimal at text; false (the caller asks the library) for anything else.
template <class Real>
bool ReadPlainDecimal(const char* text, Real& outValue, char** outEnd)
{
    const bool bNegative = *text == '-';
    const char* integer = text + (*text == '-' || *text == '+');
    uint64_t mantissa = 0;
    const char* position = ReadDigits(integer, mantissa);
    ptrdiff_t digits = position - integer;
    ptrdiff_t fractionDigits = 0;
    if (*position == '.')
    {
        const char* fraction = position + 1;
        position = ReadDigits(fraction, mantissa);
        fractionDigits = position - fraction;
        digits += fractionDigits;
    }
    // No digit, an exponent, a hexadecimal "0x" or more digits than the mantissa holds (the
    // case bit set, 'E' reads as 'e' and 'X' as 'x').
    const char next = static_cast<char>(*position | 0x20);
    if (digits == 0 || digits > 19 || next == 'e' || next == 'x' ||
        mantissa > tExactLimits<Real>::kMaxMantissa || fractionDigits > tExactLimits<Real>::kMaxPowerOfTen)
        return false;
    // Whole numbers, most of the sources' numbers, need no division.
    const Real magnitude = fractionDigits == 0
                               ? static_cast<Real>(mantissa)
                               : static_cast<Real>(mantissa) / kPowersOfTen<Real>[fractionDigits];
    outValue = bNegative ? -magnitude : magnitude;
    if (outEnd)
        *outEnd = const_cast<char*>(position);
    return true;
}
} // namespace

namespace KvDecimalText
{
double ReadDouble(const char* text, char** outEnd)
{
    uint32_t whole = 0;
    if (const char* end = ReadShortWhole(text, whole))
    {
        if (outEnd)
            *outEnd = const_cast<char*>(end);
        return whole;
    }
    double value = 0;
    return ReadPlainDecimal(text, value, outEnd) ? value : std::strtod(text, outEnd);
}

float ReadFloat(const char* text, char** outEnd)
{
    float value = 0;
    return ReadPlainDecimal(text, value, outEnd) ? value : std::strtof(text, outEnd);
}
} // namespace KvDecimalText
