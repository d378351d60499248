#include "projectdata/KvProjectData_Core_Input.h"
#include "store/KvJsonStore.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

namespace
{
using Translator = KvProjectData_Core_Raw_InputTranslator;
constexpr const char* kFile = "importers\\KvResourceImporter_InputTranslator";
} // namespace

TEST(InputImport, ElementsCommandsAndController)
{
    KvResourceImporter_InputTranslator importer;
    ImportRun run(importer, BytesOf(R"(<Input>
        <ElementSet name="Move">
          <Element type="key" button="space"/>
          <Element type="button" button="BUTTON_B" active="YES"/>
          <Element type="analog" control="ANALOGCONTROL_MOUSE_X" trigger_value="0.5" active="no"/>
          <Element type="button" button="BUTTON_UNKNOWN"/>
        </ElementSet>
        <Input name="walk" typematic="true"><Set name="Move"/><Set name="Move"/></Input>
        <Input name="stand"><Set name="Move"/></Input>
        <Controller>
          <Button name="BUTTON_X" button_index="3"/>
          <Button name="NOT_A_BUTTON"/>
          <Axis name="ANALOGCONTROL_LEFT_THUMB_Y" axis_index="2"/>
        </Controller>
      </Input>)"));
    Translator* pTranslator = run.Raw<Translator>();
    ASSERT_NE(pTranslator, nullptr);
    ASSERT_EQ(pTranslator->m_apElementSets.size(), 1u);
    const std::vector<KvProjectData_Core_Raw_InputElement>& elements =
        pTranslator->m_apElementSets[0]->m_aElements;
    ASSERT_EQ(elements.size(), 4u);
    EXPECT_EQ(elements[0].m_eType, INPUT_ELEMENT_KEY);
    EXPECT_EQ(elements[0].m_eKey, static_cast<tInputKey>(57));
    EXPECT_EQ(elements[0].m_eButton, BUTTON_A);
    EXPECT_TRUE(elements[0].m_bActive);
    EXPECT_TRUE(elements[1].m_bActive);
    EXPECT_EQ(elements[1].m_eButton, BUTTON_B);
    EXPECT_FALSE(elements[2].m_bActive);
    EXPECT_EQ(elements[2].m_fTriggerValue, 0.5f);
    EXPECT_EQ(elements[2].m_eAnalogControl, ANALOGCONTROL_MOUSE_X);
    EXPECT_EQ(elements[3].m_eButton, BUTTON_A);

    ASSERT_EQ(pTranslator->m_apCommands.size(), 2u);
    const KvProjectData_Core_Raw_InputCommand& walk = *pTranslator->m_apCommands[0];
    EXPECT_EQ(walk.m_strName, "walk");
    ASSERT_EQ(walk.m_apElementSet.size(), 2u);
    EXPECT_EQ(walk.m_apElementSet[1], pTranslator->m_apElementSets[0]);
    ASSERT_NE(walk.m_pTypematicInfo, nullptr);
    EXPECT_EQ(walk.m_pTypematicInfo->m_fTypematicInitialDelay, 0.5f);
    EXPECT_EQ(walk.m_pTypematicInfo->m_fTypematicRepeatDelay, 0.1f);
    EXPECT_EQ(pTranslator->m_apTypematicInfo.size(), 1u);
    EXPECT_EQ(pTranslator->m_apCommands[1]->m_pTypematicInfo, nullptr);

    const KvProjectData_Core_Raw_InputControllerDescriptor* pController =
        pTranslator->m_pControllerDescriptor;
    ASSERT_NE(pController, nullptr);
    EXPECT_EQ(pController->m_aFromButton, (std::vector<int32_t>{BUTTON_X, 0}));
    EXPECT_EQ(pController->m_aToButton, (std::vector<int32_t>{3, -1}));
    EXPECT_EQ(pController->m_aFromAnalog, (std::vector<int32_t>{ANALOGCONTROL_LEFT_THUMB_Y}));
    EXPECT_EQ(pController->m_aToAnalog, (std::vector<int32_t>{2}));

    // The saved translator shares the sets the commands point at.
    const auto saved = KvJsonStore::Save(Translator::GetReflectedDataType(), pTranslator);
    EXPECT_EQ(saved["m_apElementSets"][0].dump(), R"({"$ref":"/m_apCommands/0/m_apElementSet/0"})");
}

TEST(InputImport, SetNames_LastNamingTextDuplicatesKeptFirstFound)
{
    KvResourceImporter_InputTranslator importer;
    RecordingLog log;
    ImportRun run(importer, BytesOf(R"(<Input>
        <ElementSet name="Move"><Element type="button" button="BUTTON_A"/></ElementSet>
        <ElementSet name="Move"><Element type="button" button="BUTTON_B"/></ElementSet>
        <Input name="walk"><Set name="Move"/></Input>
        <ElementSet name="A" typematic="B"><Element name="C" type="button"/></ElementSet></Input>)"));
    Translator* pTranslator = run.Raw<Translator>();
    ASSERT_NE(pTranslator, nullptr);
    ASSERT_EQ(pTranslator->m_apElementSets.size(), 3u);
    // A set's name is the last naming text in it.
    EXPECT_EQ(pTranslator->m_apElementSets[2]->m_strName, "C");
    EXPECT_EQ(pTranslator->m_apCommands[0]->m_apElementSet[0], pTranslator->m_apElementSets[0]);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ::testing::HasSubstr("More than one input element set with name 'Move' registered for file "
                                     "'KvIOStream_Memory'"));
    EXPECT_EQ(pTranslator->m_pControllerDescriptor, nullptr);
}

TEST(InputImport, EmptyDocument_Logged)
{
    KvResourceImporter_InputTranslator importer;
    RecordingLog log;
    ImportRun run(importer, BytesOf(""));
    EXPECT_EQ(run.Raw<Translator>(), nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ::testing::HasSubstr("Empty input translator config file 'KvIOStream_Memory'"));
}

TEST(InputImport, BadTypeOrUnknownSet_Fatal)
{
    KvResourceImporter_InputTranslator importer;
    EXPECT_FATAL_FROM(
        ImportRun(importer, BytesOf(R"(<I><ElementSet name="S"><Element type="pedal"/></ElementSet></I>)")),
        kFile, "KvResourceImporter_InputTranslator::LoadElementSet",
        "Invalid input element type 'pedal' in file 'KvIOStream_Memory'");
    EXPECT_FATAL_FROM(ImportRun(importer, BytesOf(R"(<I><Input name="x"><Set name="Nowhere"/></Input></I>)")),
                      kFile, "KvResourceImporter_InputTranslator::LoadCommand",
                      "Failed to find element set 'Nowhere' in 'KvIOStream_Memory'");
}

// Sources dearer to parse and build than ten times their size are refused with the reason.
TEST(InputImport, DenseSources_RefusedWithTheReason)
{
    auto repeated = [](const std::string& unit)
    {
        std::string text = "<i>";
        for (int index = 0; index < 300000; ++index)
            text += unit;
        return text + "</i>";
    };
    const std::string budget = "Ignoring KvIOStream_Memory: importing";
    const std::pair<std::string, std::string> rows[] = {
        {repeated("<a/>"), "Ignoring XML source 'KvIOStream_Memory': parsing"},
        {repeated("<Input/>    "), budget},
        {repeated("<ElementSet/>"), budget},
    };
    KvResourceImporter_InputTranslator importer;
    for (const auto& [text, reason] : rows)
    {
        RecordingLog log;
        EXPECT_EQ(ImportRun(importer, BytesOf(text)).Raw<Translator>(), nullptr) << reason;
        ASSERT_FALSE(log.m_aEntries.empty()) << reason;
        EXPECT_THAT(log.m_aEntries.back().m_strMessage, ::testing::HasSubstr("\t" + reason));
    }
}
