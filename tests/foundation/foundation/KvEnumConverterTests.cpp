#include "Foundation/KvEnumConverter.h"
#include "Foundation/KvMemoryManager.h"
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

constexpr const char* kFile = "KvFoundation/api/public/Foundation/KvEnumConverter";
} // namespace

TEST(EnumConverter, FullTable_NamesBothWaysAndNoneAtCount)
{
    const KvEnumConverter<tTestEnum> converter("tTestEnum", TEST_COUNT,
                                               {{TEST_A, "A"}, {TEST_B, "B"}, {TEST_C, "C"}});
    EXPECT_STREQ(converter.ToString(TEST_B), "B");
    EXPECT_STREQ(converter.ToString(TEST_COUNT), "[NONE]");
    EXPECT_EQ(converter.ToString(static_cast<tTestEnum>(TEST_COUNT + 1)), nullptr);
    EXPECT_EQ(converter.FromString("C"), TEST_C);
}

TEST(EnumConverter, FromString_UnknownNullAndCaseGiveZero)
{
    const KvEnumConverter<tTestEnum> converter("tTestEnum", TEST_COUNT,
                                               {{TEST_A, "A"}, {TEST_B, "B"}, {TEST_C, "C"}});
    EXPECT_EQ(converter.FromString("b"), TEST_A);
    EXPECT_EQ(converter.FromString("missing"), TEST_A);
    EXPECT_EQ(converter.FromString(nullptr), TEST_A);
    // The terminator is not a value.
    EXPECT_EQ(converter.FromString("[NONE]"), TEST_A);
}

TEST(EnumConverter, FromString_SharedNameGivesTheFirstValue)
{
    const KvEnumConverter<tTestEnum> converter("tTestEnum", TEST_COUNT,
                                               {{TEST_A, "A"}, {TEST_B, "X"}, {TEST_C, "X"}});
    EXPECT_EQ(converter.FromString("X"), TEST_B);
    EXPECT_STREQ(converter.ToString(TEST_C), "X");
}

// A name stands for the lowest value that has it, the terminator included; a name that two
// values have is shared for both, which is what makes a value unfit to be saved by name.
TEST(EnumConverter, FindValueAndSharedNames)
{
    const KvEnumConverter<tTestEnum> distinct("tTestEnum", TEST_COUNT,
                                              {{TEST_A, "A"}, {TEST_B, "B"}, {TEST_C, "C"}});
    const KvEnumConverter<tTestEnum> shared("tTestEnum", TEST_COUNT, {{TEST_B, "X"}, {TEST_C, "X"}});
    EXPECT_EQ(distinct.FindValue("C"), TEST_C);
    EXPECT_EQ(distinct.FindValue("[NONE]"), TEST_COUNT);
    EXPECT_EQ(distinct.FindValue("c"), std::nullopt);
    EXPECT_EQ(shared.FindValue("X"), TEST_B);
    EXPECT_EQ(shared.FindValue("[NONE]"), TEST_A);
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
    const KvEnumConverter<tTestEnum> converter("tTestEnum", TEST_COUNT,
                                               {{TEST_A, "A"}, {TEST_A, "A2"}, {TEST_C, "C"}});
    EXPECT_EQ(converter.ToString(TEST_B), nullptr);
    EXPECT_STREQ(converter.ToString(TEST_A), "A2");
    EXPECT_EQ(converter.FromString("C"), TEST_C);
}

TEST(EnumConverter, MissingFirstValue_FilledWithNone)
{
    const KvEnumConverter<tTestEnum> converter("tTestEnum", TEST_COUNT, {{TEST_B, "B"}, {TEST_C, "C"}});
    EXPECT_STREQ(converter.ToString(TEST_A), "[NONE]");
    // A name of "[NONE]" converts to 0, the value that holds it.
    EXPECT_EQ(converter.FromString("[NONE]"), TEST_A);
}

TEST(EnumConverter, FirstOrLastValueNamedAgain_PassesTheDuplicateRuleButNotTheCount)
{
    // Naming 0 or N-1 twice is not a duplicate, yet it counts as a declaration, so a table
    // that does it has one declaration too many.
    EXPECT_FATAL((KvEnumConverter<tTestEnum>("tTestEnum", TEST_COUNT,
                                             {{TEST_A, "A"}, {TEST_A, "A2"}, {TEST_B, "B"}, {TEST_C, "C"}})),
                 kFile, "KvEnumConverter<enum tTestEnum>::KvEnumConverter", 147,
                 "Failed to declare all strings in enum table");
    EXPECT_FATAL((KvEnumConverter<tTestEnum>("tTestEnum", TEST_COUNT,
                                             {{TEST_A, "A"}, {TEST_B, "B"}, {TEST_C, "C"}, {TEST_C, "C2"}})),
                 kFile, "KvEnumConverter<enum tTestEnum>::KvEnumConverter", 147,
                 "Failed to declare all strings in enum table");
}

TEST(EnumConverter, DuplicateInTheMiddle_Fatal)
{
    EXPECT_FATAL(
        (KvEnumConverter<tTestEnum>("tTestEnum", TEST_COUNT, {{TEST_A, "A"}, {TEST_B, "B"}, {TEST_B, "B2"}})),
        kFile, "KvEnumConverterBase::AddString", 104, "String 1 (B2) already defined as B");
}

TEST(EnumConverter, UndeclaredValue_Fatal)
{
    EXPECT_FATAL((KvEnumConverter<tTestEnum>("tTestEnum", TEST_COUNT, {{TEST_A, "A"}, {TEST_C, "C"}})), kFile,
                 "KvEnumConverter<enum tTestEnum>::KvEnumConverter", 147,
                 "Failed to declare all strings in enum table");
}

TEST(EnumConverter, AllocType_Table)
{
    EXPECT_STREQ(g_Converter_AllocType.ToString(KvMemoryManager::ALLOC_CPU), "ALLOC_CPU");
    EXPECT_STREQ(g_Converter_AllocType.ToString(KvMemoryManager::ALLOC_COUNT), "[NONE]");
    EXPECT_EQ(g_Converter_AllocType.GetCount(), 1u);
}
