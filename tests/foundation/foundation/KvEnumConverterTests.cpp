#include "Foundation/KvEnumConverter.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

namespace
{
enum tTestEnum
{
    TEST_A,
    TEST_B,
    TEST_C,
    TEST_COUNT
};
using Converter = KvEnumConverter<tTestEnum>;

constexpr const char* kFile = "KvFoundation/api/public/Foundation/KvEnumConverter";
} // namespace

TEST(EnumConverter, NamesBothWays_UnknownNamesGiveZero)
{
    const Converter converter("tTestEnum", TEST_COUNT, {{TEST_A, "A"}, {TEST_B, "B"}, {TEST_C, "C"}});
    EXPECT_STREQ(converter.ToString(TEST_B), "B");
    EXPECT_STREQ(converter.ToString(TEST_COUNT), "[NONE]");
    EXPECT_EQ(converter.ToString(static_cast<tTestEnum>(TEST_COUNT + 1)), nullptr);
    EXPECT_EQ(converter.FromString("C"), TEST_C);
    // Names compare with case; the terminator is not a value.
    for (const char* name : {"b", "missing", static_cast<const char*>(nullptr), "[NONE]"})
        EXPECT_EQ(converter.FromString(name), TEST_A) << (name ? name : "null");
}

// A name stands for the lowest value that has it, the terminator included; a name that two
// values have is shared for both, which is what makes a value unfit to be saved by name.
TEST(EnumConverter, FindValueAndSharedNames)
{
    const Converter distinct("tTestEnum", TEST_COUNT, {{TEST_A, "A"}, {TEST_B, "B"}, {TEST_C, "C"}});
    const Converter shared("tTestEnum", TEST_COUNT, {{TEST_B, "X"}, {TEST_C, "X"}});
    EXPECT_EQ(distinct.FindValue("C"), TEST_C);
    EXPECT_EQ(distinct.FindValue("[NONE]"), TEST_COUNT);
    EXPECT_EQ(distinct.FindValue("c"), std::nullopt);
    EXPECT_EQ(shared.FindValue("X"), TEST_B);
    EXPECT_EQ(shared.FromString("X"), TEST_B);
    EXPECT_STREQ(shared.ToString(TEST_C), "X");
    // The missing first value is filled with the terminator's name, and holds it.
    EXPECT_STREQ(shared.ToString(TEST_A), "[NONE]");
    EXPECT_EQ(shared.FindValue("[NONE]"), TEST_A);
    EXPECT_EQ(shared.FromString("[NONE]"), TEST_A);
    for (const uint32_t value : {TEST_A, TEST_B, TEST_C, TEST_COUNT})
    {
        EXPECT_FALSE(distinct.IsNameShared(value)) << value;
        EXPECT_TRUE(shared.IsNameShared(value)) << value;
    }
    EXPECT_FALSE(shared.IsNameShared(TEST_COUNT + 1));
}

TEST(EnumConverter, FirstValueNamedTwiceHidesAHole)
{
    // The second name of 0 stands in for the undeclared B in the count: B stays unnamed, the
    // later name of 0 wins, and the names after the hole still convert.
    const Converter converter("tTestEnum", TEST_COUNT, {{TEST_A, "A"}, {TEST_A, "A2"}, {TEST_C, "C"}});
    EXPECT_EQ(converter.ToString(TEST_B), nullptr);
    EXPECT_STREQ(converter.ToString(TEST_A), "A2");
    EXPECT_EQ(converter.FromString("C"), TEST_C);
}

// Naming 0 or N-1 twice is not a duplicate, yet it counts as a declaration, so such a table has
// one declaration too many.
TEST(EnumConverter, BadTables_Fatal)
{
    const std::string constructor = "KvEnumConverter<enum tTestEnum>::KvEnumConverter";
    const std::string undeclared = "Failed to declare all strings in enum table";
    const std::tuple<std::vector<Converter::Entry>, std::string, int, std::string> rows[] = {
        {{{TEST_A, "A"}, {TEST_A, "A2"}, {TEST_B, "B"}, {TEST_C, "C"}}, constructor, 147, undeclared},
        {{{TEST_A, "A"}, {TEST_B, "B"}, {TEST_C, "C"}, {TEST_C, "C2"}}, constructor, 147, undeclared},
        {{{TEST_A, "A"}, {TEST_C, "C"}}, constructor, 147, undeclared},
        {{{TEST_A, "A"}, {TEST_B, "B"}, {TEST_B, "B2"}},
         "KvEnumConverterBase::AddString",
         104,
         "String 1 (B2) already defined as B"},
    };
    for (const auto& [entries, function, line, message] : rows)
        EXPECT_FATAL(Converter("tTestEnum", TEST_COUNT, entries), kFile, function, line, message);
}
