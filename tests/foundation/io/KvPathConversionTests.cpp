#include "testaccess/KvFoundationTestAccess.h"

#include <gtest/gtest.h>

TEST(PathConversion, AsciiMapsUnitForUnit)
{
    EXPECT_EQ(KvConvertPathToUtf16("data\\a.dds"), u"data\\a.dds");
    EXPECT_EQ(KvConvertPathToUtf16(""), u"");
}

TEST(PathConversion, TwoAndThreeByteSequences)
{
    EXPECT_EQ(KvConvertPathToUtf16("caf\xC3\xA9"), u"caf\u00E9");
    EXPECT_EQ(KvConvertPathToUtf16("\xE2\x82\xAC"), u"\u20AC");
    EXPECT_EQ(KvConvertPathToUtf16("\xE6\x97\xA5\xE6\x9C\xAC"), u"\u65E5\u672C");
}

TEST(PathConversion, SequencesAreNotValidated)
{
    // A lone continuation byte starts a one-continuation sequence of its own.
    EXPECT_EQ(KvConvertPathToUtf16("\x80\x41"), std::u16string(1, char16_t(0x01)));
    // A four-byte lead reads only two continuations and keeps 16 bits; the fourth byte then
    // leads a sequence that the terminator cuts.
    EXPECT_EQ(KvConvertPathToUtf16("\xF0\x9F\x98\x80").size(), 1u);
    EXPECT_EQ(KvConvertPathToUtf16("\xF0\x9F\x98\x80")[0],
              char16_t(((0x10 << 12) | (0x1F << 6) | 0x18) & 0xFFFF));
}

TEST(PathConversion, CutInsideASequence_StopsAtTheTerminator)
{
    EXPECT_EQ(KvConvertPathToUtf16("ab\xE2\x82"), u"ab");
    EXPECT_EQ(KvConvertPathToUtf16("ab\xC3"), u"ab");
}

TEST(PathConversion, FileSystemPath_SeparatorsMappedAndUtf8Restored)
{
    EXPECT_EQ(KvPlatform::ToFileSystemPath(u"dir\\sub\\caf\u00E9.dds"), "dir/sub/caf\xC3\xA9.dds");
    EXPECT_EQ(KvPlatform::ToFileSystemPath(KvConvertPathToUtf16("\xE2\x82\xAC")), "\xE2\x82\xAC");
}
