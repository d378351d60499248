#include "store/KvBase64.h"

namespace
{
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int DigitValue(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}
} // namespace

std::string KvEncodeBase64(const std::vector<uint8_t>& bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t index = 0; index < bytes.size(); index += 3)
    {
        const size_t remaining = bytes.size() - index;
        uint32_t group = uint32_t(bytes[index]) << 16;
        if (remaining > 1)
            group |= uint32_t(bytes[index + 1]) << 8;
        if (remaining > 2)
            group |= bytes[index + 2];
        text.push_back(kAlphabet[(group >> 18) & 63]);
        text.push_back(kAlphabet[(group >> 12) & 63]);
        text.push_back(remaining > 1 ? kAlphabet[(group >> 6) & 63] : '=');
        text.push_back(remaining > 2 ? kAlphabet[group & 63] : '=');
    }
    return text;
}

std::optional<std::vector<uint8_t>> KvDecodeBase64(const std::string& text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (size_t index = 0; index < text.size(); index += 4)
    {
        const bool bLast = index + 4 == text.size();
        const int padding = bLast ? (text[index + 3] == '=') + (text[index + 2] == '=') : 0;
        uint32_t group = 0;
        for (int digit = 0; digit < 4; ++digit)
        {
            const char c = text[index + digit];
            const int value = digit >= 4 - padding ? 0 : DigitValue(c);
            if (value < 0 || (c == '=' && digit < 4 - padding))
                return std::nullopt;
            group = (group << 6) | static_cast<uint32_t>(value);
        }
        bytes.push_back(static_cast<uint8_t>(group >> 16));
        if (padding < 2)
            bytes.push_back(static_cast<uint8_t>(group >> 8));
        if (padding < 1)
            bytes.push_back(static_cast<uint8_t>(group));
    }
    return bytes;
}
