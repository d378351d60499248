#include "Toolbox/KvDecimalText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <random>
#include <string>

namespace
{
// The reading gives the library's bits and stops where the library stops.
void ExpectAsTheLibrary(const std::string& text)
{
    char* libraryEnd = nullptr;
    char* end = nullptr;
    const double libraryDouble = std::strtod(text.c_str(), &libraryEnd);
    const double readDouble = KvDecimalText::ReadDouble(text.c_str(), &end);
    EXPECT_EQ(std::bit_cast<uint64_t>(readDouble), std::bit_cast<uint64_t>(libraryDouble)) << text;
    EXPECT_EQ(end, libraryEnd) << text;
    const float libraryFloat = std::strtof(text.c_str(), &libraryEnd);
    const float readFloat = KvDecimalText::ReadFloat(text.c_str(), &end);
    EXPECT_EQ(std::bit_cast<uint32_t>(readFloat), std::bit_cast<uint32_t>(libraryFloat)) << text;
    EXPECT_EQ(end, libraryEnd) << text;
}
} // namespace

TEST(DecimalText, EdgesOfThePlainForm_ReadAsTheLibraryReadsThem)
{
    for (const char* text : {"",
                             "-",
                             "+",
                             ".",
                             "-.",
                             "0",
                             "-0",
                             "+7",
                             ".5",
                             "5.",
                             "-.25,1",
                             "12.5,3",
                             " 1.5",
                             "1.5e3",
                             "1.5E",
                             "2e",
                             "0x1A",
                             "0X1p3",
                             "1x",
                             "inf",
                             "-nan",
                             "9007199254740992",
                             "9007199254740993",
                             "16777216",
                             "16777217",
                             "0.1",
                             "0.3",
                             "1234567890123456789",
                             "12345678901234567890",
                             "0.0000000000000000000001",
                             "0.00000000000000000000001",
                             "3.4028235e38",
                             "1.17549435e-38",
                             "0.017453292",
                             "57.29578",
                             "00000000000000000001.5",
                             "1..2",
                             "1.2.3",
                             "-.e1"})
        ExpectAsTheLibrary(text);
}

// Random decimals of every length the short way takes and just beyond it, with the characters
// that may follow a number in the source files.
TEST(DecimalText, RandomDecimals_ReadAsTheLibraryReadsThem)
{
    std::mt19937_64 random(20261206);
    const std::string signs[] = {"", "-", "+"};
    const std::string tails[] = {"", ",", "\"", " ", "e5", "x"};
    for (int round = 0; round < 200000; ++round)
    {
        std::string text = signs[random() % 3];
        const size_t integerDigits = random() % 12;
        const size_t fractionDigits = random() % 14;
        for (size_t digit = 0; digit < integerDigits; ++digit)
            text += static_cast<char>('0' + random() % 10);
        if (fractionDigits > 0 || random() % 2)
            text += '.';
        for (size_t digit = 0; digit < fractionDigits; ++digit)
            text += static_cast<char>('0' + random() % 10);
        text += tails[random() % 6];
        ExpectAsTheLibrary(text);
    }
}

// The short way takes nine digits at most and leaves every text that continues a number, or
// that does not start with a digit, to the full readings.
TEST(DecimalText, ShortWhole_TakesOnlyPlainShortDigits)
{
    const std::pair<const char*, int64_t> rows[] = {
        {"0", 0},           {"007,", 7}, {"999999999\"", 999999999},
        {"1234567890", -1}, {"12.", -1}, {"12e1", -1},
        {"12E", -1},        {"0x1", -1}, {"0X1", -1},
        {"-1", -1},         {"+1", -1},  {" 1", -1},
        {"", -1},           {"12 ", 12}, {"5/", 5}};
    for (const auto& [text, expected] : rows)
    {
        uint32_t value = 0;
        const char* end = KvDecimalText::ReadShortWhole(text, value);
        EXPECT_EQ(end != nullptr, expected >= 0) << text;
        if (end)
        {
            EXPECT_EQ(value, expected) << text;
            ExpectAsTheLibrary(text);
        }
    }
}
