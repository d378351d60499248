#include "projectdata/KvProjectData_Core_Audio.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

TEST(WaveImport, BytesKeptInThePayload)
{
    KvResourceImporter_ADPCM importer;
    const std::vector<uint8_t> bytes = BytesOf("RIFF\x04\0\0\0WAVEfmt data");
    ImportRun run(importer, bytes, "audio\\beep");
    ASSERT_NE(run.Raw<KvProjectData_Core_Raw_AudioSample>(), nullptr);
    EXPECT_EQ(run.Raw<KvProjectData_Core_Raw_AudioSample>()->m_strName, "audio\\beep");
    EXPECT_EQ(run.Payload<KvProjectData_Core_Raw_AudioSample_Payload>()->m_aData, bytes);
    ImportRun empty(importer, {});
    ASSERT_NE(empty.Payload<KvProjectData_Core_Raw_AudioSample_Payload>(), nullptr);
    EXPECT_TRUE(empty.Payload<KvProjectData_Core_Raw_AudioSample_Payload>()->m_aData.empty());
}

TEST(InterfaceImport, BytesKeptAndNameLeftToTheHost)
{
    KvResourceImporter_Interface importer;
    const std::vector<uint8_t> bytes{0, 1, 2, 255};
    ImportRun run(importer, bytes, "ui\\menu");
    ASSERT_NE(run.Raw<KvProjectData_Core_Raw_Interface>(), nullptr);
    EXPECT_EQ(run.Raw<KvProjectData_Core_Raw_Interface>()->m_acBin, bytes);
    EXPECT_EQ(run.Raw<KvProjectData_Core_Raw_Interface>()->m_strName, "");
    EXPECT_EQ(run.Payload<void>(), nullptr);
    ImportRun empty(importer, {});
    EXPECT_TRUE(empty.Raw<KvProjectData_Core_Raw_Interface>()->m_acBin.empty());
}
