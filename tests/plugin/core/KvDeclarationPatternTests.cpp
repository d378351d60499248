#include "Foundation/KvDebugDrawInterface.h"
#include "TypeManager/KvTypeManager.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_Audio.h"
#include "projectdata/KvProjectData_Core_GameState.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "store/KvJsonStore.h"
#include "support/KvPluginHost.h"
#include "support/KvRecordingDebugDraw.h"
#include "support/KvReflectedData.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{
// The construct-by-context menu of Target, as the host builds it from the type's attribute, has an
// entry for a live Source object that reads as that object's shown name.
template <class Target, class Source>
void ExpectMenuEntryFor(const char* expectedLabel)
{
    SCOPED_TRACE(Target::GetReflectedDataType()->GetName());
    const auto* pMenu =
        KvFindAttribute<KvAttribute_CtorByContext>(Target::GetReflectedDataType()->GetAttributes());
    ASSERT_NE(pMenu, nullptr);
    const auto pSource = MakeNamed<Source>("crate");
    std::vector<KvReflectedObjCtorContext*> contexts;
    pMenu->GetContextFunction()(contexts, Target::GetReflectedDataType(), nullptr, nullptr);
    const auto entry = std::find_if(contexts.begin(), contexts.end(),
                                    [&](const KvReflectedObjCtorContext* pContext)
                                    { return pContext->m_pSourceObject == pSource.get(); });
    EXPECT_TRUE(entry != contexts.end() && (*entry)->m_strLabel == expectedLabel);
    for (KvReflectedObjCtorContext* pContext : contexts)
        delete pContext;
}
} // namespace

TEST(ByContext, EntriesShowTheSourceObjectsName)
{
    ExpectMenuEntryFor<KvProjectData_Core_Raw_ActorEntry, KvProjectData_Core_Raw_ActorPrefab>("crate");
    ExpectMenuEntryFor<KvProjectData_Core_Raw_RenderShapeMesh, KvProjectData_Core_Raw_Mesh>("crate");
    ExpectMenuEntryFor<KvProjectData_Core_Raw_RenderShapeMeshLod, KvProjectData_Core_Raw_Mesh>("crate");
    ExpectMenuEntryFor<KvProjectData_Core_Raw_AudioSoundVariation, KvProjectData_Core_Raw_AudioSample>(
        "crate");
    ExpectMenuEntryFor<KvProjectData_Core_Raw_AudioSoundVariationList, KvProjectData_Core_Raw_AudioSample>(
        "crate");
    ExpectMenuEntryFor<KvProjectData_Core_Raw_AudioSoundEntry,
                       KvProjectData_Core_Raw_AudioSoundVariationList>("List: crate");
    ExpectMenuEntryFor<KvProjectData_Core_Raw_AudioSoundEntryRef, KvProjectData_Core_Raw_AudioSoundEntry>(
        "Sound Entry crate");
}

TEST(ByType, HolderMadeFromAGameClassDrawsThroughIt)
{
    LoadGameModule();
    const auto* pAttribute = KvFindAttribute<KvAttribute_CtorByTypeInheritance>(
        KvProjectData_Core_Raw_ActorTrigger::GetReflectedDataType()->GetAttributes());
    ASSERT_NE(pAttribute, nullptr);
    EXPECT_EQ(pAttribute->GetBaseClassName(), "KvActorTrigger");
    std::vector<std::string> offered;
    KvTypeManager::GetInstance()->GetDerivedTypeNames(
        KvTypeManager::GetInstance()->GetTypeIndex(pAttribute->GetBaseClassName()), offered);
    EXPECT_THAT(offered, ::testing::Contains("KvBoxTrigger"));

    auto* pTrigger = static_cast<KvProjectData_Core_Raw_ActorTrigger*>(pAttribute->GetCreator()->Create(
        ContextFor<KvProjectData_Core_Raw_ActorTrigger>(nullptr, "KvBoxTrigger")));
    EXPECT_EQ(pTrigger->m_strName, "KvBoxTrigger");
    ASSERT_NE(pTrigger->m_pDataType, nullptr);
    EXPECT_EQ(pTrigger->m_pDataType->GetName(), "KvBoxTrigger");
    ASSERT_NE(pTrigger->m_pData, nullptr);
    const auto saved =
        KvJsonStore::Save(KvProjectData_Core_Raw_ActorTrigger::GetReflectedDataType(), pTrigger);
    EXPECT_EQ(saved["m_pData"]["m_vHalfExtents"].dump(), "[1.0,1.0,1.0]");

    // An actor's components draw through the game object; the pawn places them.
    auto* pActor = NewData<KvProjectData_Core_Raw_ActorEntry>();
    pActor->m_pTransform->m_LocalTransform->m_vPosition = {10, 0, 0};
    pActor->m_pTransform->CalculateWorldFromLocal();
    pActor->m_apComponents.push_back(new KvProjectData_Core_Raw_ActorComponent(
        ContextFor<KvProjectData_Core_Raw_ActorComponent>(nullptr, "KvMeshComponent")));
    RecordingDebugDraw sink;
    pActor->m_pEditorPawn->DrawDebug(0);
    ASSERT_EQ(sink.m_aBoxes.size(), 1u);
    EXPECT_EQ(sink.m_aBoxes[0].first, (KvVector3{9.5f, -0.5f, -0.5f}));
    DestroyData(pActor);
    DestroyData(pTrigger);
}

TEST(ByType, UnknownClassGivesAnEmptyHolder)
{
    KvProjectData_Core_Raw_ActorComponent component(
        ContextFor<KvProjectData_Core_Raw_ActorComponent>(nullptr, "KvNoSuchGameClass"));
    EXPECT_EQ(component.m_pDataType, nullptr);
    EXPECT_EQ(component.m_pData, nullptr);
    component.DrawDebug(nullptr, 0);
}

// A holder loads only its base class or a class derived from it, since the plug-in calls the
// held object as that base class: a sibling base's class or an unrelated type is refused.
// Code holders share one declaration; game states have their own.
TEST(ByType, LoadAcceptsOnlyClassesOfTheHoldersBase)
{
    LoadGameModule();
    const std::tuple<const KvReflectedDataType*, const char*, const char*, const char*> cases[] = {
        {KvProjectData_Core_Raw_ActorComponent::GetReflectedDataType(), "KvActorComponentCode",
         "KvMeshComponent", "KvSpawnPointCode"},
        {KvProjectData_Core_Raw_ActorEntryCode::GetReflectedDataType(), "KvActorCode", "KvSpawnPointCode",
         "KvMeshComponent"},
        {KvProjectData_Core_GameState::GetReflectedDataType(), "KvGameState", "KvGameState_MainMenu",
         "KvRenderNodeHandler_Bloom"},
    };
    for (const auto& [holder, base, accepted, otherBase] : cases)
    {
        for (const std::string className : {accepted, otherBase, "KvTransformSpace"})
        {
            const KvJsonStore::Json document = {{"m_pDataType", className},
                                                {"m_pData", {{"$type", className}}}};
            RecordingLog log;
            void* pHolder = KvJsonStore::Load(holder, document, "holder.json");
            if (className == accepted)
            {
                EXPECT_NE(pHolder, nullptr) << className;
                KvObjectTree::Destroy(holder, pHolder);
                continue;
            }
            EXPECT_EQ(pHolder, nullptr) << className;
            ASSERT_FALSE(log.m_aEntries.empty());
            EXPECT_THAT(log.m_aEntries.back().m_strMessage,
                        ::testing::HasSubstr("holder.json: /m_pDataType: '" + className + "' is not '" +
                                             base + "' or a class derived from it"));
        }
    }
}
