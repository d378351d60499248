#include "Foundation/KvDebugDrawInterface.h"
#include "TypeManager/KvTypeManager.h"
#include "core/KvPluginTestSupport.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_Attachment.h"
#include "projectdata/KvProjectData_Core_Audio.h"
#include "projectdata/KvProjectData_Core_GameState.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "store/KvJsonStore.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{
using Template = KvAttachmentSlotTemplate;

// Records the boxes drawn through the process-wide sink.
class RecordingDebugDraw : public KvDebugDrawStub
{
public:
    RecordingDebugDraw() { KvDebugDraw::SetInterface(this); }
    ~RecordingDebugDraw() override { KvDebugDraw::SetInterface(nullptr); }
    void DrawBox(const KvVector3& min, const KvVector3& max, KvColor) override
    {
        m_aBoxes.push_back({min, max});
    }

    std::vector<std::pair<KvVector3, KvVector3>> m_aBoxes;
};

template <class T>
void* NewNamedData(const char* name)
{
    T* pObject = NewData<T>();
    pObject->m_strName = name;
    return pObject;
}

void LoadGameTypes()
{
    static const bool s_bLoaded = []
    {
        const KvResult loaded = PluginHost().LoadGameModule(KV_GAME_TYPES_PATH);
        EXPECT_TRUE(loaded) << loaded.GetReason();
        return loaded.IsOk();
    }();
    ASSERT_TRUE(s_bLoaded);
}
} // namespace

TEST(XRefObject, NewIdentityAndLiveLookups)
{
    Template* pFirst = NewData<Template>();
    Template* pSecond = NewData<Template>();
    pFirst->m_strName = "hand_left";
    pSecond->m_strName = "hand_right";
    EXPECT_NE(pFirst->m_XRefGUID, pSecond->m_XRefGUID);
    EXPECT_EQ(pFirst->m_ulLocalIndex, 0xFFFFFFFFu);
    EXPECT_EQ(Template::GetExternalReference("hand_right"), pSecond);
    EXPECT_EQ(Template::GetExternalReference(pFirst->m_XRefGUID), pFirst);
    EXPECT_EQ(Template::GetExternalReference("hand"), nullptr);

    // A copy takes the identity but is not a live object of its own.
    Template copy(*pFirst);
    EXPECT_EQ(copy.m_XRefGUID, pFirst->m_XRefGUID);
    DestroyData(pFirst);
    EXPECT_EQ(Template::GetExternalReference("hand_left"), nullptr);
    DestroyData(pSecond);
    EXPECT_EQ(Template::GetExternalReference(copy.m_XRefGUID), nullptr);
}

TEST(XRefObject, LocalIndexIsNeverSaved)
{
    Template* pTemplate = NewData<Template>();
    pTemplate->m_ulLocalIndex = 7;
    const auto saved = KvJsonStore::Save(Template::GetReflectedDataType(), pTemplate);
    EXPECT_FALSE(saved.contains("m_ulLocalIndex"));
    EXPECT_EQ(saved["m_XRefGUID"], pTemplate->m_XRefGUID.ToString());
    DestroyData(pTemplate);
}

// Each construct-by-context menu over live objects, as the host builds it from the type's
// attribute: the entry for a source object reads as that object's shown name.
TEST(ByContext, EntriesShowTheSourceObjectsName)
{
    struct Menu
    {
        const KvReflectedDataType* (*m_pfnTarget)();
        const KvReflectedDataType* (*m_pfnSource)();
        void* (*m_pfnNewSource)(const char* name);
        const char* m_pLabel;
    };
    const Menu menus[] = {
        {&KvProjectData_Core_Raw_ActorEntry::GetReflectedDataType,
         &KvProjectData_Core_Raw_ActorPrefab::GetReflectedDataType,
         &NewNamedData<KvProjectData_Core_Raw_ActorPrefab>, "crate"},
        {&KvProjectData_Core_Raw_RenderShapeMesh::GetReflectedDataType,
         &KvProjectData_Core_Raw_Mesh::GetReflectedDataType, &NewNamedData<KvProjectData_Core_Raw_Mesh>,
         "crate"},
        {&KvProjectData_Core_Raw_RenderShapeMeshLod::GetReflectedDataType,
         &KvProjectData_Core_Raw_Mesh::GetReflectedDataType, &NewNamedData<KvProjectData_Core_Raw_Mesh>,
         "crate"},
        {&KvProjectData_Core_Raw_AudioSoundVariation::GetReflectedDataType,
         &KvProjectData_Core_Raw_AudioSample::GetReflectedDataType,
         &NewNamedData<KvProjectData_Core_Raw_AudioSample>, "crate"},
        {&KvProjectData_Core_Raw_AudioSoundVariationList::GetReflectedDataType,
         &KvProjectData_Core_Raw_AudioSample::GetReflectedDataType,
         &NewNamedData<KvProjectData_Core_Raw_AudioSample>, "crate"},
        {&KvProjectData_Core_Raw_AudioSoundEntry::GetReflectedDataType,
         &KvProjectData_Core_Raw_AudioSoundVariationList::GetReflectedDataType,
         &NewNamedData<KvProjectData_Core_Raw_AudioSoundVariationList>, "List: crate"},
        {&KvProjectData_Core_Raw_AudioSoundEntryRef::GetReflectedDataType,
         &KvProjectData_Core_Raw_AudioSoundEntry::GetReflectedDataType,
         &NewNamedData<KvProjectData_Core_Raw_AudioSoundEntry>, "Sound Entry crate"},
    };
    for (const Menu& menu : menus)
    {
        const KvReflectedDataType* pTarget = menu.m_pfnTarget();
        const auto* pMenu = KvFindAttribute<KvAttribute_CtorByContext>(pTarget->GetAttributes());
        ASSERT_NE(pMenu, nullptr) << pTarget->GetName();
        void* pSource = menu.m_pfnNewSource("crate");
        std::vector<KvReflectedObjCtorContext*> contexts;
        pMenu->GetContextFunction()(contexts, pTarget, nullptr, nullptr);
        const auto entry = std::find_if(contexts.begin(), contexts.end(),
                                        [&](const KvReflectedObjCtorContext* pContext)
                                        { return pContext->m_pSourceObject == pSource; });
        ASSERT_NE(entry, contexts.end()) << pTarget->GetName();
        EXPECT_EQ((*entry)->m_strLabel, menu.m_pLabel) << pTarget->GetName();
        for (KvReflectedObjCtorContext* pContext : contexts)
            delete pContext;
        KvReflectionInterface::GetInstance()->DestroyObject(menu.m_pfnSource(), pSource);
    }
}

TEST(ByType, HolderMadeFromAGameClassDrawsThroughIt)
{
    LoadGameTypes();
    const auto* pAttribute = KvFindAttribute<KvAttribute_CtorByTypeInheritance>(
        KvProjectData_Core_Raw_ActorTrigger::GetReflectedDataType()->GetAttributes());
    ASSERT_NE(pAttribute, nullptr);
    EXPECT_EQ(pAttribute->GetBaseClassName(), "KvActorTrigger");
    std::vector<std::string> offered;
    KvTypeManager::GetInstance()->GetDerivedTypeNames(
        KvTypeManager::GetInstance()->GetTypeIndex(pAttribute->GetBaseClassName()), offered);
    EXPECT_THAT(offered, ::testing::Contains("KvBoxTrigger"));

    const KvReflectedObjCtorContext context("KvBoxTrigger",
                                            KvProjectData_Core_Raw_ActorTrigger::GetReflectedDataType(),
                                            nullptr, nullptr, nullptr, 0);
    auto* pTrigger =
        static_cast<KvProjectData_Core_Raw_ActorTrigger*>(pAttribute->GetCreator()->Create(context));
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
    const KvReflectedObjCtorContext componentContext(
        "KvMeshComponent", KvProjectData_Core_Raw_ActorComponent::GetReflectedDataType(), nullptr, nullptr,
        nullptr, 0);
    pActor->m_apComponents.push_back(new KvProjectData_Core_Raw_ActorComponent(componentContext));
    RecordingDebugDraw sink;
    pActor->m_pEditorPawn->DrawDebug(0);
    ASSERT_EQ(sink.m_aBoxes.size(), 1u);
    EXPECT_EQ(sink.m_aBoxes[0].first, (KvVector3{9.5f, -0.5f, -0.5f}));
    DestroyData(pActor);
    DestroyData(pTrigger);
}

TEST(ByType, UnknownClassGivesAnEmptyHolder)
{
    const KvReflectedObjCtorContext context("KvNoSuchGameClass",
                                            KvProjectData_Core_Raw_ActorComponent::GetReflectedDataType(),
                                            nullptr, nullptr, nullptr, 0);
    KvProjectData_Core_Raw_ActorComponent component(context);
    EXPECT_EQ(component.m_pDataType, nullptr);
    EXPECT_EQ(component.m_pData, nullptr);
    component.DrawDebug(nullptr, 0);
}

// A holder loads only its base class or a class derived from it, since the plug-in calls the
// held object as that base class: a sibling base's class or an unrelated type is refused.
// Code holders share one declaration; game states have their own.
TEST(ByType, LoadAcceptsOnlyClassesOfTheHoldersBase)
{
    LoadGameTypes();
    const struct
    {
        const KvReflectedDataType* m_pHolder;
        const char* m_Base;
        const char* m_Accepted;
        const char* m_OtherBase;
    } cases[] = {
        {KvProjectData_Core_Raw_ActorComponent::GetReflectedDataType(), "KvActorComponentCode",
         "KvMeshComponent", "KvSpawnPointCode"},
        {KvProjectData_Core_Raw_ActorEntryCode::GetReflectedDataType(), "KvActorCode", "KvSpawnPointCode",
         "KvMeshComponent"},
        {KvProjectData_Core_GameState::GetReflectedDataType(), "KvGameState", "KvGameState_MainMenu",
         "KvRenderNodeHandler_Bloom"},
    };
    for (const auto& row : cases)
    {
        for (const std::string className : {row.m_Accepted, row.m_OtherBase, "KvTransformSpace"})
        {
            const KvJsonStore::Json document = {{"m_pDataType", className},
                                                {"m_pData", {{"$type", className}}}};
            RecordingLog log;
            void* pHolder = KvJsonStore::Load(row.m_pHolder, document, "holder.json");
            if (className == row.m_Accepted)
            {
                EXPECT_NE(pHolder, nullptr) << className;
                KvObjectTree::Destroy(row.m_pHolder, pHolder);
                continue;
            }
            EXPECT_EQ(pHolder, nullptr) << className;
            ASSERT_FALSE(log.m_aEntries.empty());
            EXPECT_THAT(log.m_aEntries.back().m_strMessage,
                        ::testing::HasSubstr("holder.json: /m_pDataType: '" + className + "' is not '" +
                                             row.m_Base + "' or a class derived from it"));
        }
    }
}
