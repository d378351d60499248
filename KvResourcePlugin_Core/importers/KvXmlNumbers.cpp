#include "importers/KvXmlNumbers.h"

#include "Toolbox/KvDecimalText.h"

#include <cfloat>
#include <cmath>

namespace KvXmlNumbers
{
uint32_t ReadUnsigned(const char* text)
{
    if (!text || !*text)
        return 0;
    const char* pChar = text;
    if (*pChar == '+')
        ++pChar;
    else if (*pChar == '-')
        return 0;
    uint64_t value = 0;
    for (; *pChar >= '0' && *pChar <= '9'; ++pChar)
    {
        value = value * 10 + static_cast<uint64_t>(*pChar - '0');
        if (value > UINT32_MAX)
            return 0;
    }
    if (*pChar == '.')
    {
        const double real = KvDecimalText::ReadDouble(text, nullptr);
        const double rounded = std::floor(real + 0.5);
        return rounded < 0.0 || rounded > 4294967295.0 ? 0 : static_cast<uint32_t>(rounded);
    }
    return static_cast<uint32_t>(value);
}

float ReadFloat(const char* text)
{
    if (!text)
        return 0.0f;
    uint32_t whole = 0;
    if (KvDecimalText::ReadShortWhole(text, whole))
        return static_cast<float>(whole);
    const char* pEnd = nullptr;
    return ReadLeadingFloat(text, pEnd);
}

float ReadLeadingFloat(const char* text, const char*& outEnd)
{
    char* pEnd = nullptr;
    const double value = KvDecimalText::ReadDouble(text, &pEnd);
    outEnd = pEnd;
    const double magnitude = std::fabs(value);
    if (!std::isfinite(value) || magnitude > FLT_MAX || (magnitude != 0.0 && magnitude < FLT_MIN))
        return 0.0f;
    return static_cast<float>(value);
}
} // namespace KvXmlNumbers
