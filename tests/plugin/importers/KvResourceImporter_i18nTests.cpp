#include "importers/KvImporterTestSupport.h"
#include "importers/KvResourceImporter_i18n.h"
#include "projectdata/KvProjectData_Core_Localisation.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>
#include <optional>

namespace
{
using Table = KvProjectData_Core_Raw_i18nStringTable;

std::vector<std::pair<std::string, std::string>> EntriesOf(const Table& table)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (const KvProjectData_Core_Raw_i18nStringTable_Entry* pEntry : table.m_apEntries)
        entries.emplace_back(pEntry->m_strStringId, pEntry->m_strLocalizedString);
    return entries;
}
} // namespace

TEST(StringTableImport, LinesEscapesAndEquals)
{
    KvResourceImporter_i18n importer;
    ImportRun run(importer, BytesOf("greeting=Hello\\nWorld\r\na=b=c\r\nempty=\r\nlost=no line end"),
                  "fr_fr");
    Table* pTable = run.Raw<Table>();
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(pTable->m_eLocale, LOCALE_FR_FR);
    EXPECT_EQ(pTable->m_strName, "fr_fr");
    EXPECT_EQ(EntriesOf(*pTable), (std::vector<std::pair<std::string, std::string>>{
                                      {"greeting", "Hello\nWorld"}, {"a", "b=c"}, {"empty", ""}}));
}

TEST(StringTableImport, LineFeedOnlyFilesGiveNothing)
{
    KvResourceImporter_i18n importer;
    ImportRun run(importer, BytesOf("a=1\nb=2\n"), "de_de");
    EXPECT_TRUE(run.Raw<Table>()->m_apEntries.empty());
    EXPECT_EQ(run.Raw<Table>()->m_eLocale, LOCALE_DE_DE);
}

TEST(StringTableImport, LocaleFromTheWholeName)
{
    KvResourceImporter_i18n importer;
    for (const auto& [name, locale] :
         std::vector<std::pair<std::string, tLocale>>{{"en_us", LOCALE_EN_US},
                                                      {"es_es", LOCALE_ES_ES},
                                                      {"EN_US", LOCALE_EN_US},
                                                      {"i18n\\fr_fr", LOCALE_EN_US},
                                                      {"ja_ja", LOCALE_EN_US}})
    {
        ImportRun run(importer, {}, name);
        EXPECT_EQ(run.Raw<Table>()->m_eLocale, locale) << name;
        EXPECT_TRUE(run.Raw<Table>()->m_apEntries.empty());
    }
}

TEST(StringTableImport, EscapeAtTheEndAndCrWithoutLineFeed)
{
    KvResourceImporter_i18n importer;
    ImportRun run(importer, BytesOf("a=x\\\r\nb=\\n\\n\r"));
    EXPECT_EQ(EntriesOf(*run.Raw<Table>()),
              (std::vector<std::pair<std::string, std::string>>{{"a", "x\\"}, {"b", "\n\n"}}));
}

// Text in every odd shape reads as the line rule says; a table that would take more than its
// import budget (a million empty entries in 3 MB) is refused with the reason.
TEST(StringTableImport, OddAndHugeSources)
{
    using Entries = std::vector<std::pair<std::string, std::string>>;
    std::string empties;
    for (int entry = 0; entry < 1000000; ++entry)
        empties += "=\r\n";
    const struct
    {
        const char* m_Name;
        std::string m_strText;
        // Null when refused.
        std::optional<Entries> m_Entries;
    } rows[] = {
        {"nothing but a line end", "\r\n", Entries{}},
        {"no equals sign", "abc\r\ndef\r\n", Entries{}},
        {"no CR after the equals sign", "a=b\nc=d", Entries{}},
        {"CR as the last byte", "a=b\r", Entries{{"a", "b"}}},
        {"an id running over line ends", "x\r\ny=1\r\n", Entries{{"x\r\ny", "1"}}},
        {"zero bytes kept", std::string("a\0b=c\0\r\n", 8),
         Entries{{std::string("a\0b", 3), std::string("c\0", 2)}}},
        {"escapes scanned from the left", "a=\\\\n\\\\\\n\r\n", Entries{{"a", "\\\n\\\\\n"}}},
        {"any byte after the CR skipped", "a=1\rXb=2\r\n", Entries{{"a", "1"}, {"b", "2"}}},
        // The source is read in blocks of 64 KiB.
        {"an escape split by a block end", "a=" + std::string(65533, 'x') + "\\n\r\n",
         Entries{{"a", std::string(65533, 'x') + "\n"}}},
        {"a line end split by a block end", "a=" + std::string(65532, 'x') + "\r\nb=2\r\n",
         Entries{{"a", std::string(65532, 'x')}, {"b", "2"}}},
        {"a million empty entries", empties, std::nullopt},
    };
    KvResourceImporter_i18n importer;
    for (const auto& row : rows)
    {
        RecordingLog log;
        ImportRun run(importer, BytesOf(row.m_strText), "it_it");
        if (!row.m_Entries)
        {
            EXPECT_EQ(run.Raw<Table>(), nullptr) << row.m_Name;
            ASSERT_EQ(log.m_aEntries.size(), 1u) << row.m_Name;
            EXPECT_EQ(log.m_aEntries[0].m_strMessage,
                      ExpectedReport(
                          "importers\\KvResourceImporter_i18n", "KvResourceImporter_i18n::ConvertToRaw", 120,
                          "Ignoring KvIOStream_Memory: importing its 3000000 bytes would take more than "
                          "10 times as many and 2097152 more"))
                << row.m_Name;
            continue;
        }
        ASSERT_NE(run.Raw<Table>(), nullptr) << row.m_Name;
        EXPECT_EQ(run.Raw<Table>()->m_eLocale, LOCALE_IT_IT) << row.m_Name;
        EXPECT_EQ(EntriesOf(*run.Raw<Table>()), *row.m_Entries) << row.m_Name;
        EXPECT_TRUE(log.m_aEntries.empty()) << row.m_Name;
    }
}
