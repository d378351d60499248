#include "testaccess/KvFoundationTestAccess.h"

#include <gtest/gtest.h>

// Sequences are not validated: a lone continuation byte starts a one-continuation sequence of its
// own; a four-byte lead reads only two continuations and keeps 16 bits, and its fourth byte then
// leads a sequence that the terminator cuts, as it cuts any sequence.
TEST(PathConversion, Utf8ToUtf16_UnitForUnitWithoutValidation)
{
    const std::pair<std::string, std::u16string> rows[] = {
        {"data\\a.dds", u"data\\a.dds"},
        {"", u""},
        {"caf\xC3\xA9", u"caf\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
        {"\x80\x41", std::u16string(1, char16_t(0x01))},
        {"\xF0\x9F\x98\x80", std::u16string(1, char16_t(((0x10 << 12) | (0x1F << 6) | 0x18) & 0xFFFF))},
        {"ab\xE2\x82", u"ab"},
        {"ab\xC3", u"ab"},
    };
    for (const auto& [utf8, utf16] : rows)
        EXPECT_EQ(KvConvertPathToUtf16(utf8.c_str()), utf16) << utf8;
}

TEST(PathConversion, FileSystemPath_SeparatorsMappedAndUtf8Restored)
{
    EXPECT_EQ(KvPlatform::ToFileSystemPath(u"dir\\sub\\caf\u00E9.dds"), "dir/sub/caf\xC3\xA9.dds");
    EXPECT_EQ(KvPlatform::ToFileSystemPath(KvConvertPathToUtf16("\xE2\x82\xAC")), "\xE2\x82\xAC");
}
