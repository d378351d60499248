#include "importers/KvImporterTestSupport.h"
#include "importers/KvResourceImporter_i18n.h"
#include "projectdata/KvProjectData_Core_Localisation.h"

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
