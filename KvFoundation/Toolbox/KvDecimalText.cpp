#include "Toolbox/KvDecimalText.h"

#include <array>
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

// The plain decimal at text; false (the caller asks the library) for anything else.
template <class Real>
bool ReadPlainDecimal(const char* text, Real& outValue, char** outEnd)
{
    const char* position = text;
    const bool bNegative = *position == '-';
    if (*position == '-' || *position == '+')
        ++position;
    uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    for (; IsDigit(*position); ++position, ++digits)
        mantissa = mantissa * 10 + static_cast<uint64_t>(*position - '0');
    if (*position == '.')
        for (++position; IsDigit(*position); ++position, ++digits, ++fractionDigits)
            mantissa = mantissa * 10 + static_cast<uint64_t>(*position - '0');
    // No digit, an exponent, a hexadecimal "0x" or more digits than the mantissa holds.
    const char next = *position;
    if (digits == 0 || digits > 19 || next == 'e' || next == 'E' || next == 'x' || next == 'X' ||
        mantissa > tExactLimits<Real>::kMaxMantissa || fractionDigits > tExactLimits<Real>::kMaxPowerOfTen)
        return false;
    const Real magnitude = static_cast<Real>(mantissa) / kPowersOfTen<Real>[fractionDigits];
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
    double value = 0;
    return ReadPlainDecimal(text, value, outEnd) ? value : std::strtod(text, outEnd);
}

float ReadFloat(const char* text, char** outEnd)
{
    float value = 0;
    return ReadPlainDecimal(text, value, outEnd) ? value : std::strtof(text, outEnd);
}
} // namespace KvDecimalText
