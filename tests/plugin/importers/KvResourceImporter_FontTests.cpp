#include "projectdata/KvProjectData_Core_Font.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <cfloat>
#include <gtest/gtest.h>

namespace
{
using Font = KvProjectData_Core_Font;
constexpr const char* kFile = "importers\\KvResourceImporter_Font";
constexpr const char* kFunction = "KvResourceImporter_Font::ConvertToRaw";

std::string FontXml(const std::string& common, const std::string& chars, const std::string& extra = "")
{
    return "<font><info size=\"32\"/>" + common + "<pages><page id=\"0\" file=\"font_0.dds\"/></pages>" +
           extra + chars + "</font>";
}

const std::string kCommon = "<common scaleW=\"256\" scaleH=\"128\"/>";
} // namespace

TEST(FontImport, CharacterUVsAndTable)
{
    KvResourceImporter_Font importer;
    ImportRun run(
        importer,
        BytesOf(FontXml(kCommon, "<chars count=\"1\"><char id=\"65\" x=\"10\" y=\"20\" width=\"8\" "
                                 "height=\"16\" xoffset=\"1\" yoffset=\"2\" xadvance=\"9\" page=\"0\"/>"
                                 "</chars>")),
        "fonts\\debug");
    Font* pFont = run.Raw<Font>();
    ASSERT_NE(pFont, nullptr);
    EXPECT_EQ(pFont->m_strName, "fonts\\debug");
    EXPECT_EQ(pFont->m_ulFontSize, 32u);
    EXPECT_EQ(pFont->m_strFontPage, "font_0.dds");
    ASSERT_EQ(pFont->m_apCharacters.size(), 256u);
    const KvProjectData_Core_Font_Character& a = pFont->m_apCharacters[65];
    EXPECT_EQ(a.m_ulId, 65u);
    EXPECT_EQ(a.m_vUV.m_vMin, (KvVector2{0.0390625f, 0.15625f}));
    EXPECT_EQ(a.m_vUV.m_vMax, (KvVector2{0.0703125f, 0.28125f}));
    EXPECT_EQ(a.m_slAdvanceX, 9);
    EXPECT_EQ(a.m_slOffsetY, 2);
    // Slots no char fills keep an empty box.
    EXPECT_EQ(pFont->m_apCharacters[66].m_vUV.m_vMin.x, FLT_MAX);
}

TEST(FontImport, NumberRulesDuplicatesAndCodesOutsideTheTable)
{
    KvResourceImporter_Font importer;
    ImportRun run(importer, BytesOf(FontXml(kCommon, "<chars count=\"1\">"
                                                     "<char id=\"1\" xoffset=\"-1\" xadvance=\"+7\"/>"
                                                     "<char id=\"2\" xadvance=\"2.5\"/>"
                                                     "<char id=\"3\" x=\"4\"/>"
                                                     "<char id=\"3\" x=\"6\"/>"
                                                     "<char id=\"300\" x=\"1\"/>"
                                                     "<char id=\"4294967295\"/><char id=\"256\"/>"
                                                     "<char id=\"4\" xadvance=\"99999999999\"/>"
                                                     "<char id=\"7\" x=\"1e999\" y=\"nan\" "
                                                     "xadvance=\"4294967296\"/>"
                                                     "</chars>")));
    Font* pFont = run.Raw<Font>();
    ASSERT_NE(pFont, nullptr);
    EXPECT_EQ(pFont->m_apCharacters[1].m_slOffsetX, 0);
    EXPECT_EQ(pFont->m_apCharacters[1].m_slAdvanceX, 7);
    // Halves round up; an absent value carries over from the char before; absurd numbers end as 0.
    EXPECT_EQ(pFont->m_apCharacters[2].m_slAdvanceX, 3);
    EXPECT_EQ(pFont->m_apCharacters[3].m_slAdvanceX, 3);
    EXPECT_EQ(pFont->m_apCharacters[3].m_vPos.x, 6.0f);
    EXPECT_EQ(pFont->m_apCharacters[4].m_slAdvanceX, 0);
    EXPECT_EQ(pFont->m_apCharacters[7].m_vPos, (KvVector2{0.0f, 0.0f}));
    EXPECT_EQ(pFont->m_apCharacters[7].m_slAdvanceX, 0);
    // Codes beyond the table leave it untouched.
    EXPECT_EQ(pFont->m_apCharacters.size(), 256u);
    EXPECT_EQ(pFont->m_apCharacters[255].m_vUV.m_vMin.x, FLT_MAX);
}

TEST(FontImport, EmptyDocument_LoggedNoFont)
{
    KvResourceImporter_Font importer;
    RecordingLog log;
    ImportRun run(importer, BytesOf("  "));
    EXPECT_EQ(run.Raw<Font>(), nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ContainsReportFrom(kFile, kFunction, "Empty debug font file!"));
}

TEST(FontImport, MissingParts_FatalInCheckOrder)
{
    KvResourceImporter_Font importer;
    EXPECT_FATAL_FROM(ImportRun(importer, BytesOf(FontXml("<common scaleW=\"0\" scaleH=\"1\"/>", ""))), kFile,
                      kFunction, "Bad font size");
    EXPECT_FATAL_FROM(ImportRun(importer, BytesOf("<font><common scaleW=\"1\" scaleH=\"1\"/></font>")), kFile,
                      kFunction, "missing 'info' tag");
    EXPECT_FATAL_FROM(
        ImportRun(importer, BytesOf("<font><info/><common scaleW=\"1\" scaleH=\"1\"/><pages/></font>")),
        kFile, kFunction, "No font page was present for debug font");
    EXPECT_FATAL_FROM(ImportRun(importer, BytesOf(FontXml(kCommon, "<chars count=\"0\"/>"))), kFile,
                      kFunction, "No font characters were present");
}

// A source nested too deep for the parser is refused with the reason; a count without chars
// still gives the whole table of empty slots.
TEST(FontImport, TooDeepOrWithoutChars)
{
    KvResourceImporter_Font importer;
    RecordingLog log;
    std::string deep;
    for (int level = 0; level < 300; ++level)
        deep += "<chars>";
    EXPECT_EQ(ImportRun(importer, BytesOf(FontXml(kCommon, deep))).Raw<Font>(), nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ::testing::HasSubstr("nests elements deeper than 256 levels"));

    ImportRun empty(importer, BytesOf(FontXml(kCommon, "<chars count=\"1\"/>")));
    ASSERT_NE(empty.Raw<Font>(), nullptr);
    EXPECT_EQ(empty.Raw<Font>()->m_apCharacters.size(), 256u);
}
