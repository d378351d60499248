#include "projectdata/KvProjectData_Core_Localisation.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

// The source is read in blocks of 64 KiB: an escape or a line end at a block's end reads as it does
// anywhere else.
TEST(StringTableImport, EntriesAcrossTheReadBlocks)
{
    using Entries = std::vector<std::pair<std::string, std::string>>;
    const std::pair<std::string, Entries> rows[] = {
        {"a=" + std::string(65533, 'x') + "\\n\r\n", {{"a", std::string(65533, 'x') + "\n"}}},
        {"a=" + std::string(65532, 'x') + "\r\nb=2\r\n", {{"a", std::string(65532, 'x')}, {"b", "2"}}},
    };
    KvResourceImporter_i18n importer;
    for (const auto& [text, expected] : rows)
    {
        const ImportRun run(importer, BytesOf(text));
        Entries entries;
        for (const auto* pEntry : run.Raw<KvProjectData_Core_Raw_i18nStringTable>()->m_apEntries)
            entries.emplace_back(pEntry->m_strStringId, pEntry->m_strLocalizedString);
        EXPECT_EQ(entries, expected) << text.substr(0, 20);
    }
}
