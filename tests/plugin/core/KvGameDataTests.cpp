#include "projectdata/KvProjectData_Core_Animation.h"
#include "projectdata/KvProjectData_Core_Effect.h"
#include "projectdata/KvProjectData_Core_GameState.h"
#include "projectdata/KvProjectData_Core_Input.h"
#include "projectdata/KvProjectData_Core_Localisation.h"
#include "support/KvPluginHost.h"
#include "support/KvReflectedData.h"
#include "support/KvTestData.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using Event = KvProjectData_Core_Raw_AnimationEvent;
} // namespace

TEST(AnimationEvent, TypedConstructors)
{
    const Event integer("hit", 1.5f, 7);
    EXPECT_EQ(integer.m_iPlayload, 7);
    EXPECT_EQ(integer.m_fPayload, 7.0f);
    EXPECT_EQ(integer.m_strPayload, "7");
    EXPECT_EQ(integer.m_fTime, 1.5f);
    const Event real("hit", 1.5f, 2.75f);
    EXPECT_EQ(real.m_iPlayload, 2);
    EXPECT_EQ(real.m_fPayload, 2.75f);
    EXPECT_EQ(real.m_strPayload, "2.750000");
    EXPECT_EQ(Event("hit", 1.5f, -2.75f).m_iPlayload, -2);
    const Event text("say", 0.5f, "hello");
    EXPECT_EQ(text.m_strPayload, "hello");
    EXPECT_EQ(text.m_iPlayload, 0);
}

// NaN has no integer and gives 0; beyond the 32-bit range the nearest end is taken. Rows: the
// float as text, the integer.
TEST(AnimationEvent, FloatPayloadTruncatesTowardZeroInto32Bits)
{
    for (const auto& row : TestDataTable("core/values.json", "animation event payloads"))
        EXPECT_EQ(Event("hit", 0.0f, std::stof(row[0].get<std::string>())).m_iPlayload, row[1]) << row[0];
}

// The numbers that saved data and key codes depend on, with their names.
TEST(Enumerations, ValuesKeepTheirNumbersAndNames)
{
    EXPECT_EQ(g_Converter_Locale.FromString("ja_JA"), static_cast<tLocale>(8));
    EXPECT_STREQ(g_Converter_Country.ToString(static_cast<tCountry>(27)), "COUNTRY_JAPAN");
    EXPECT_STREQ(g_Converter_InputKeys.ToString(static_cast<tInputKey>(57)), "space");
    EXPECT_EQ(g_Converter_InputKeys.FromString("page down"), static_cast<tInputKey>(159));
    EXPECT_STREQ(g_Converter_InputKeys.ToString(INPUT_KEY_ANY), "any key");
    EXPECT_EQ(g_Converter_InputElementTypeFormat.FromString("analog"), INPUT_ELEMENT_ANALOG);
}

TEST(GameState, UnregisteredClass_LoggedWithoutData)
{
    RecordingLog log;
    const OwnedData<KvProjectData_Core_GameState> pState(
        new KvProjectData_Core_GameState(std::string("KvNoSuchGameState")));
    EXPECT_EQ(pState->m_strName, "[DEFAULT]");
    EXPECT_EQ(pState->m_pDataType, nullptr);
    EXPECT_EQ(pState->m_pData, nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(log.m_aEntries[0].m_strMessage,
              ExpectedReport(
                  "KvResourcePlugin_Core\\api\\public/projectdata/KvProjectData_Core_GameState",
                  "KvProjectData_Core_GameState::KvProjectData_Core_GameState", 29,
                  "Gamestate 'KvNoSuchGameState' not registered in the reflection system - gamestate will "
                  "not run!"));
}

TEST(GameState, RegisteredClassGetsItsObject)
{
    LoadGameModule();
    const OwnedData<KvProjectData_Core_GameState> pState(
        new KvProjectData_Core_GameState(std::string("KvGameState_MainMenu")));
    ASSERT_NE(pState->m_pDataType, nullptr);
    EXPECT_NE(pState->m_pData, nullptr);
}
