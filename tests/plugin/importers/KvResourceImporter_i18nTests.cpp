#include "projectdata/KvProjectData_Core_Localisation.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

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

// Text in every odd shape reads as the line rule says (only CR LF ends an entry), across the
// blocks the source is read in (64 KiB); a table dearer to build than its import budget is
// refused with the reason.
TEST(StringTableImport, OddAndHugeSources)
{
    using Entries = std::vector<std::pair<std::string, std::string>>;
    const std::pair<std::string, Entries> rows[] = {
        {"abc\r\n", {}},
        {"a=1\nb=2\n", {}},
        {"a=x\\\r\nb=\\n\\n\r", {{"a", "x\\"}, {"b", "\n\n"}}},
        {"x\r\ny=1\r\n", {{"x\r\ny", "1"}}},
        {std::string("a\0b=c\0\r\n", 8), {{std::string("a\0b", 3), std::string("c\0", 2)}}},
        {"a=\\\\n\\\\\\n\r\n", {{"a", "\\\n\\\\\n"}}},
        {"a=1\rXb=2\r\n", {{"a", "1"}, {"b", "2"}}},
        {"a=" + std::string(65533, 'x') + "\\n\r\n", {{"a", std::string(65533, 'x') + "\n"}}},
        {"a=" + std::string(65532, 'x') + "\r\nb=2\r\n", {{"a", std::string(65532, 'x')}, {"b", "2"}}},
    };
    KvResourceImporter_i18n importer;
    for (const auto& [text, entries] : rows)
        EXPECT_EQ(EntriesOf(*ImportRun(importer, BytesOf(text)).Raw<Table>()), entries) << text.substr(0, 20);

    std::string empties;
    for (int entry = 0; entry < 1000000; ++entry)
        empties += "=\r\n";
    RecordingLog log;
    EXPECT_EQ(ImportRun(importer, BytesOf(empties)).Raw<Table>(), nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(
        log.m_aEntries[0].m_strMessage,
        ContainsReportFrom("importers\\KvResourceImporter_i18n", "KvResourceImporter_i18n::ConvertToRaw",
                           "Ignoring KvIOStream_Memory: importing its 3000000 bytes would take more than 10 "
                           "times as many and 2097152 more"));
}
