#include "Foundation/KvRandom.h"
#include "TypeManager/KvTypeManager.h"
#include "projectdata/KvProjectData_Core_Audio.h"
#include "projectdata/KvProjectData_Core_EditorPawn.h"
#include "projectdata/KvProjectData_Core_Transform.h"
#include "support/KvPluginHost.h"
#include "support/KvRecordingDebugDraw.h"
#include "support/KvReflectedData.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

namespace
{
using Group = KvProjectData_Core_Raw_AudioVolumeGroup;
using Variation = KvProjectData_Core_Raw_AudioSoundVariation;
using Entry = KvProjectData_Core_Raw_AudioSoundEntry;
using VariationList = KvProjectData_Core_Raw_AudioSoundVariationList;

// The plug-in draws from its own module's sequence, which starts at the initial seed only in
// a fresh process: these run in a re-executed child (threadsafe death-test style).

// No variation draws nothing; then the first two values from seed 123456, replayed here.
bool RandomVariationFollowsTheSequence()
{
    Variation* pVariation = NewData<Variation>();
    pVariation->m_fPitch = 1.5f;
    const bool bNoDraw = pVariation->GetRandomPitch() == 1.5f;
    KvRandomGeneratorCRT::SetSeed(123456);
    const float expectedPitch = 1.5f + KvRandomGeneratorCRT().GetRandom(-0.5f, 0.5f);
    const float expectedVolume = 1.0f + KvRandomGeneratorCRT().GetRandom(-0.25f, 0.25f);
    pVariation->m_fPitchVariation = 0.5f;
    pVariation->m_fVolumeVariation = 0.25f;
    const bool bPitch = pVariation->GetRandomPitch() == expectedPitch;
    const bool bVolume = pVariation->GetRandomVolume() == expectedVolume;
    return bNoDraw && bPitch && bVolume;
}

// Grey 0x7D plus one random byte per channel, the first byte into the lowest byte of the
// colour, which is red. From seed 123456 the bytes are 0xF9, 0x22, 0xA6 (bits 16 to 23 of
// each next seed), so the channels wrap to 0x76, 0x9F, 0x23.
bool FirstColourFollowsTheSequence()
{
    auto* pList = NewData<VariationList>();
    pList->m_apVariations.push_back(NewData<Variation>());
    Entry* pEntry = NewData<Entry>();
    pEntry->m_pVariationList = pList;
    pEntry->DrawDebugAt({}, false);
    return pEntry->m_aVariationColors.at(0) == KvColor{0x76, 0x9F, 0x23, 0xFF};
}

// Volume groups made for a test, each under the parent given, released afterwards.
class VolumeGroups : public ::testing::Test
{
protected:
    ~VolumeGroups() override
    {
        for (Group* pGroup : m_apGroups)
            DestroyData(pGroup);
    }
    Group* NewGroup(Group* pParent = nullptr)
    {
        m_apGroups.push_back(NewData<Group>());
        m_apGroups.back()->m_pParentGroup = pParent;
        return m_apGroups.back();
    }

    std::vector<Group*> m_apGroups;
};
} // namespace

TEST_F(VolumeGroups, FinalVolumeAndPriorityThroughTheHierarchy)
{
    Group* pParent = NewGroup();
    Group* pChild = NewGroup(pParent);
    pChild->m_fVolumeConstant = 0.5f;
    pParent->m_fVolumeUserMultiplier = 0.5f;
    EXPECT_FLOAT_EQ(Group::GetFinalVolume(pChild), 0.25f);
    // Only a group's own mute counts.
    pParent->m_bMuted = true;
    EXPECT_FLOAT_EQ(Group::GetFinalVolume(pChild), 0.25f);
    pChild->m_bMuted = true;
    EXPECT_EQ(Group::GetFinalVolume(pChild), 0.0f);
    EXPECT_EQ(Group::GetFinalVolume(nullptr), 1.0f);

    EXPECT_EQ(pChild->GetEffectivePriority(), 1.0f);
    pChild->m_ucPriority = 200;
    EXPECT_EQ(pChild->GetEffectivePriority(), 1.0f);
    pChild->m_ucPriority = 50;
    pParent->m_ucPriority = 50;
    EXPECT_FLOAT_EQ(Group::GetFinalPriority(pChild), 0.25f);
    EXPECT_EQ(Group::GetFinalPriority(nullptr), 1.0f);
}

// A parent loop above a group ends the walk where it closes: each group counts once, and a loop
// that never returns to the group is no ancestor of what lies outside it.
TEST_F(VolumeGroups, LoopAbove_EachGroupCountsOnce)
{
    Group* pLoopA = NewGroup();
    Group* pLoopB = NewGroup(pLoopA);
    pLoopA->m_pParentGroup = pLoopB;
    Group* pGroup = NewGroup(pLoopA);
    for (Group* pMember : m_apGroups)
    {
        pMember->m_fVolumeConstant = 0.5f;
        pMember->m_ucPriority = 50;
    }
    EXPECT_EQ(Group::GetFinalVolume(pGroup), 0.125f);
    EXPECT_EQ(Group::GetFinalPriority(pGroup), 0.125f);
    EXPECT_FALSE(pGroup->IsAffectedByChangeIn(NewGroup()));
}

TEST_F(VolumeGroups, AffectedByChangesInItselfAndAncestorsOnly)
{
    Group* pRoot = NewGroup();
    Group* pChild = NewGroup(pRoot);
    EXPECT_TRUE(pChild->IsAffectedByChangeIn(pChild));
    EXPECT_TRUE(pChild->IsAffectedByChangeIn(pRoot));
    EXPECT_FALSE(pRoot->IsAffectedByChangeIn(pChild));
    EXPECT_FALSE(pRoot->IsAffectedByChangeIn(NewGroup()));
}

TEST_F(VolumeGroups, ParentChangedFollowsGroupParentsOnly)
{
    Group* pGroup = NewGroup();
    Group* pParent = NewGroup();
    Group::OnParentChanged(Group::GetReflectedDataType(), pParent, nullptr, pGroup);
    EXPECT_EQ(pGroup->m_pParentGroup, pParent);
    Group::OnParentChanged(Entry::GetReflectedDataType(), pParent, nullptr, pGroup);
    EXPECT_EQ(pGroup->m_pParentGroup, pParent);
    Group::OnParentChanged(Group::GetReflectedDataType(), nullptr, nullptr, pGroup);
    EXPECT_EQ(pGroup->m_pParentGroup, nullptr);
}

TEST(Variation, NegativeVariation_WarnsAndStaysBetweenTheBounds)
{
    const auto pVariation = MakeData<Variation>();
    pVariation->m_fVolumeVariation = -0.25f;
    RecordingLog log;
    const float reversed = pVariation->GetRandomVolume();
    EXPECT_GT(reversed, 0.75f);
    EXPECT_LE(reversed, 1.25f);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::HasSubstr("Max < min"));
}

TEST(Variation, ContextsAndDisplayNames)
{
    const auto pSample = MakeNamed<KvProjectData_Core_Raw_AudioSample>("steps");
    const OwnedData<Variation> pNone(new Variation(ContextFor<Variation>(nullptr)));
    EXPECT_EQ(pNone->m_pSample, nullptr);
    EXPECT_EQ(Variation::GetReflectedDataType()->GetObjectDisplayName(pNone.get()),
              "KvProjectData_Core_Raw_AudioSoundVariation");
    const OwnedData<Variation> pPicked(new Variation(ContextFor<Variation>(pSample.get())));
    EXPECT_EQ(Variation::GetReflectedDataType()->GetObjectDisplayName(pPicked.get()), "Variation: steps");

    const OwnedData<VariationList> pList(new VariationList(ContextFor<VariationList>(pSample.get())));
    EXPECT_EQ(pList->m_strName, "steps");
    ASSERT_EQ(pList->m_apVariations.size(), 1u);
    EXPECT_EQ(pList->m_apVariations[0]->m_pSample, pSample.get());

    const OwnedData<Entry> pEntry(new Entry(ContextFor<Entry>(pList.get())));
    EXPECT_EQ(pEntry->m_strName, "steps");
    EXPECT_EQ(pEntry->m_pVariationList, pList.get());

    const auto pReference = MakeData<KvProjectData_Core_Raw_AudioSoundEntryRef>();
    const KvReflectedDataType* pRefType = KvProjectData_Core_Raw_AudioSoundEntryRef::GetReflectedDataType();
    EXPECT_EQ(pRefType->GetObjectDisplayName(pReference.get()), "KvProjectData_Core_Raw_AudioSoundEntryRef");
    pReference->m_pSoundEntry = pEntry.get();
    EXPECT_EQ(pRefType->GetObjectDisplayName(pReference.get()), "Ref: steps");
}

TEST(SoundEntry, PreviewTextsAndKeptColours)
{
    const auto pSample = MakeNamed<KvProjectData_Core_Raw_AudioSample>("rain");
    const OwnedData<VariationList> pList(new VariationList(ContextFor<VariationList>(pSample.get())));
    pList->m_apVariations.push_back(NewData<Variation>());
    const auto pEntry = MakeNamed<Entry>("weather");
    {
        RecordingDebugDraw sink;
        pEntry->DrawDebugAt({}, true);
        ASSERT_EQ(sink.m_aTexts.size(), 3u);
        EXPECT_EQ(sink.m_aTexts[0], "Sound Entry 'weather'");
        EXPECT_EQ(sink.m_aTexts[1].rfind("PLAYING (last started ", 0), 0u);
        EXPECT_EQ(sink.m_aTexts[2], "Missing variation list");
    }
    pEntry->m_pVariationList = pList.get();
    RecordingDebugDraw first;
    pEntry->DrawDebugAt({}, false);
    EXPECT_EQ(first.m_aTexts, (std::vector<std::string>{"Sound Entry 'weather'", "Sound variation 0 : rain",
                                                        "Sound variation 1 : "}));
    ASSERT_EQ(pEntry->m_aVariationColors.size(), 2u);
    EXPECT_EQ(first.m_aColors[1], pEntry->m_aVariationColors[0]);
    EXPECT_EQ(first.m_aColors[1].a, 0xFF);
    // Colours once made stay; a new variation adds one.
    const std::vector<KvColor> kept = pEntry->m_aVariationColors;
    pList->m_apVariations.push_back(NewData<Variation>());
    pEntry->DrawDebugAt({}, false);
    ASSERT_EQ(pEntry->m_aVariationColors.size(), 3u);
    EXPECT_EQ(pEntry->m_aVariationColors[0], kept[0]);
    EXPECT_EQ(pEntry->m_aVariationColors[1], kept[1]);
}

TEST(Audio, RandomVariationsAndColoursFollowTheSharedSequence)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(RandomVariationFollowsTheSequence() ? 0 : 1), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(std::_Exit(FirstColourFollowsTheSequence() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(SoundEntry, PreviewPawnNeedsTheGameHandler)
{
    const auto pEntry = MakeData<Entry>();
    pEntry->CreateEditorPawn();
    if (!KvTypeManager::GetInstance()->FindType("KvEditorPawnCallbackHandler_SoundEntry"))
    {
        EXPECT_EQ(pEntry->m_pEditorPawn, nullptr);
    }
    LoadGameModule();
    pEntry->CreateEditorPawn();
    ASSERT_NE(pEntry->m_pEditorPawn, nullptr);
    ASSERT_NE(pEntry->m_pHandler, nullptr);
    EXPECT_EQ(pEntry->m_pEditorPawn->m_pObject, nullptr);
    // The game's handler knows the entry by address and type only, draws it through its type's
    // preview, where its pawn stands.
    pEntry->m_pEditorPawn->m_pTransform->m_WorldTransform->m_vPosition = {1, 2, 3};
    RecordingDebugDraw sink;
    pEntry->m_pEditorPawn->DrawDebug(0);
    ASSERT_FALSE(sink.m_aTexts.empty());
    EXPECT_EQ(sink.m_aTexts[0], "Sound Entry '[UNNAMED]'");
    EXPECT_EQ(sink.m_aPositions[0], (KvVector3{1, 2, 3}));
    pEntry->DestroyEditorPawn();
    EXPECT_EQ(pEntry->m_pEditorPawn, nullptr);
}
