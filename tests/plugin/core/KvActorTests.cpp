#include "actions/KvAttributeEventArgs_DragDrop.h"
#include "core/KvPluginTestSupport.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "reflection/KvReflectedObjCtorContext.h"
#include "store/KvJsonStore.h"

#include <gtest/gtest.h>

namespace
{
using Actor = KvProjectData_Core_Raw_ActorEntry;
using Prefab = KvProjectData_Core_Raw_ActorPrefab;

KvReflectedObjCtorContext ContextFrom(void* pSource)
{
    return KvReflectedObjCtorContext("label", Actor::GetReflectedDataType(), nullptr, nullptr, pSource, 0);
}

std::string DisplayNameOf(const Actor& actor)
{
    std::string name;
    Actor::GetDisplayName(name, Actor::GetReflectedDataType(), &actor);
    return name;
}
} // namespace

TEST(Actor, Defaults)
{
    Actor* pActor = NewData<Actor>();
    EXPECT_EQ(pActor->m_strName, "[DEFAULT]");
    EXPECT_TRUE(pActor->m_bRequiresNetworkReplication);
    ASSERT_NE(pActor->m_pTransform, nullptr);
    ASSERT_NE(pActor->m_pEditorPawn, nullptr);
    EXPECT_EQ(pActor->m_pEditorPawn->m_pTransform, pActor->m_pTransform);
    EXPECT_EQ(pActor->m_pEditorPawn->m_ppPrefab, &pActor->m_pPrefab);
    EXPECT_EQ(pActor->m_pEditorPawn->m_pObjectType, Actor::GetReflectedDataType());
    EXPECT_EQ(pActor->m_pEditorPawn->m_ulLocalIndex, 0xFFFFFFFFu);
    DestroyData(pActor);
}

TEST(Actor, ContextConstructor_NamesFromThePrefab)
{
    Prefab* pPrefab = NewData<Prefab>();
    pPrefab->m_strName = "Tree";
    Actor fromNone(ContextFrom(nullptr));
    EXPECT_EQ(fromNone.m_strName, "[NEW ACTOR]");
    Actor fromPrefab(ContextFrom(pPrefab));
    EXPECT_EQ(fromPrefab.m_strName, "[PREFAB]Tree");
    EXPECT_EQ(fromPrefab.m_pPrefab, pPrefab);
    // The stack actors own their transforms; the host would release them by schema.
    for (Actor* pActor : {&fromNone, &fromPrefab})
        KvReflectionInterface::GetInstance()->DestroyObject(
            KvProjectData_Core_Raw_KvObjectTransform::GetReflectedDataType(), pActor->m_pTransform);
    DestroyData(pPrefab);
}

TEST(Actor, DisplayNames)
{
    Prefab* pPrefab = NewData<Prefab>();
    pPrefab->m_strName = "Rock";
    Actor* pActor = NewData<Actor>();
    pActor->m_strName = "hero";
    EXPECT_EQ(DisplayNameOf(*pActor), "hero");
    pActor->m_strName = "old [PREFAB] copy";
    EXPECT_EQ(DisplayNameOf(*pActor), "[PREFAB] - Please manually rename");
    pActor->m_pPrefab = pPrefab;
    EXPECT_EQ(DisplayNameOf(*pActor), "[PREFAB]Rock");
    pActor->m_strName = "[PREFAB";
    EXPECT_EQ(DisplayNameOf(*pActor), "[PREFAB");
    std::string untouched = "kept";
    Actor::GetDisplayName(untouched, Prefab::GetReflectedDataType(), pActor);
    EXPECT_EQ(untouched, "kept");
    // The type's delegate is what the host asks.
    EXPECT_EQ(Actor::GetReflectedDataType()->GetObjectDisplayName(pActor), "[PREFAB");
    DestroyData(pActor);
    DestroyData(pPrefab);
}

TEST(Actor, ConstructContexts_NoneFirstThenLivePrefabs)
{
    std::vector<KvReflectedObjCtorContext*> contexts;
    Actor::GetConstructContexts(contexts, Actor::GetReflectedDataType(), nullptr, nullptr);
    ASSERT_FALSE(contexts.empty());
    EXPECT_EQ(contexts[0]->m_strLabel, "NONE");
    EXPECT_EQ(contexts[0]->m_pSourceObject, nullptr);
    const size_t before = contexts.size();
    for (KvReflectedObjCtorContext* pContext : contexts)
        delete pContext;
    contexts.clear();

    Prefab* pPrefab = NewData<Prefab>();
    pPrefab->m_strName = "Lamp";
    Actor::GetConstructContexts(contexts, Actor::GetReflectedDataType(), nullptr, nullptr);
    ASSERT_EQ(contexts.size(), before + 1);
    EXPECT_EQ(contexts.back()->m_strLabel, "Lamp");
    EXPECT_EQ(contexts.back()->m_pSourceObject, pPrefab);
    for (KvReflectedObjCtorContext* pContext : contexts)
        delete pContext;
    DestroyData(pPrefab);
}

TEST(Actor, ParentChanged_LinksAndUnlinks)
{
    Actor* pParent = NewData<Actor>();
    Actor* pChild = NewData<Actor>();
    Actor::OnParentChanged(Actor::GetReflectedDataType(), pParent, nullptr, pChild);
    EXPECT_EQ(pChild->m_pParentActor, pParent);
    EXPECT_EQ(pChild->m_pTransform->m_pParentTransform, pParent->m_pTransform);

    Actor::OnParentChanged(Actor::GetReflectedDataType(), nullptr, nullptr, pChild);
    EXPECT_EQ(pChild->m_pParentActor, nullptr);
    EXPECT_EQ(pChild->m_pEditorPawn, nullptr);
    EXPECT_EQ(pChild->m_pTransform->m_pParentTransform, nullptr);
    ASSERT_NE(pChild->m_pTransform, nullptr);

    // Under a layer or prefab the links stay; the pawn comes back.
    Prefab* pPrefab = NewData<Prefab>();
    Actor::OnParentChanged(Prefab::GetReflectedDataType(), pPrefab, nullptr, pChild);
    EXPECT_NE(pChild->m_pEditorPawn, nullptr);
    EXPECT_EQ(pChild->m_pParentActor, nullptr);
    DestroyData(pChild);
    DestroyData(pParent);
    DestroyData(pPrefab);
}

TEST(Actor, Load_ReplacesTheConstructorTransformAndRelinksTheParent)
{
    Actor* pParent = NewData<Actor>();
    Actor* pChild = NewData<Actor>();
    pChild->m_strName = "child";
    pChild->m_pTransform->m_LocalTransform->m_vPosition = {4, 5, 6};
    pParent->m_apChildren.push_back(pChild);
    pChild->m_pParentActor = pParent;
    const auto saved = KvJsonStore::Save(Actor::GetReflectedDataType(), pParent);
    auto* pLoaded =
        static_cast<Actor*>(KvJsonStore::Load(Actor::GetReflectedDataType(), saved, "actor.json"));
    ASSERT_NE(pLoaded, nullptr);
    ASSERT_EQ(pLoaded->m_apChildren.size(), 1u);
    Actor* pLoadedChild = pLoaded->m_apChildren[0];
    EXPECT_EQ(pLoadedChild->m_pTransform->m_LocalTransform->m_vPosition, (KvVector3{4, 5, 6}));
    EXPECT_EQ(pLoadedChild->m_pEditorPawn->m_pTransform, pLoadedChild->m_pTransform);
    // The parent actor link is not saved; the parent-change handler restores it in the editor.
    EXPECT_EQ(pLoadedChild->m_pParentActor, nullptr);
    DestroyData(pLoaded);
    DestroyData(pParent);
}

TEST(Actor, DragDropToRoot_KeepsWorldPlacementAndDoublesHierarchyScale)
{
    Actor* pOldParent = NewData<Actor>();
    Actor* pMoved = NewData<Actor>();
    pOldParent->m_pTransform->m_LocalTransform->m_fUniformHierarchyScale = 2.0f;
    pOldParent->m_pTransform->m_LocalTransform->m_vYPR = {30, 0, 0};
    pOldParent->m_pTransform->m_LocalTransform->m_vPosition = {5, 0, 0};
    pOldParent->m_pTransform->CalculateWorldFromLocal();
    pMoved->m_pTransform->m_LocalTransform->m_vPosition = {1, 1, 0};
    pMoved->m_pTransform->m_pParentTransform = pOldParent->m_pTransform;
    pMoved->m_pTransform->CalculateWorldFromLocal();
    const KvVector3 worldBefore = pMoved->m_pTransform->m_WorldTransform->m_vPosition;
    const KvVector3 anglesBefore = pMoved->m_pTransform->m_WorldTransform->m_vYPR;

    // The host has already moved the actor to the root.
    pMoved->m_pTransform->m_pParentTransform = nullptr;
    KvAttributeEventArgs_DragDrop arguments;
    arguments.m_pPreviousParentType = Actor::GetReflectedDataType();
    arguments.m_pPreviousParent = pOldParent;
    arguments.m_pMovedType = Actor::GetReflectedDataType();
    arguments.m_pMoved = pMoved;
    EXPECT_TRUE(Actor::OnAfterDragDrop(&arguments));
    const KvTransformSpace& world = *pMoved->m_pTransform->m_WorldTransform;
    EXPECT_NEAR(world.m_vPosition.x, worldBefore.x, 1e-5f);
    EXPECT_NEAR(world.m_vPosition.y, worldBefore.y, 1e-5f);
    EXPECT_NEAR(world.m_vYPR.x, anglesBefore.x, 1e-3f);
    EXPECT_FLOAT_EQ(pMoved->m_pTransform->m_LocalTransform->m_fUniformHierarchyScale, 2.0f);
    DestroyData(pMoved);
    DestroyData(pOldParent);
}

TEST(Actor, DragDropUnderScaledParent_HalvesPositionAndHierarchyScale)
{
    Actor* pNewParent = NewData<Actor>();
    Actor* pMoved = NewData<Actor>();
    pNewParent->m_pTransform->m_LocalTransform->m_fUniformHierarchyScale = 2.0f;
    pNewParent->m_pTransform->CalculateWorldFromLocal();
    pMoved->m_pTransform->m_LocalTransform->m_vPosition = {4, 2, 0};
    pMoved->m_pTransform->m_pParentTransform = pNewParent->m_pTransform;
    KvAttributeEventArgs_DragDrop arguments;
    arguments.m_pTargetType = Actor::GetReflectedDataType();
    arguments.m_pTarget = pNewParent;
    arguments.m_pMoved = pMoved;
    EXPECT_TRUE(Actor::OnAfterDragDrop(&arguments));
    const KvTransformSpace& local = *pMoved->m_pTransform->m_LocalTransform;
    EXPECT_EQ(local.m_vPosition, (KvVector3{2, 1, 0}));
    EXPECT_FLOAT_EQ(local.m_fUniformHierarchyScale, 0.5f);
    EXPECT_EQ(pMoved->m_pTransform->m_pParentTransform, pNewParent->m_pTransform);
    EXPECT_EQ(pMoved->m_pTransform->m_WorldTransform->m_vPosition, (KvVector3{4, 2, 0}));
    DestroyData(pMoved);
    DestroyData(pNewParent);
}

TEST(ActorWorld, Defaults_TransformLayerAndPawn)
{
    auto* pWorld = NewData<KvProjectData_Core_Raw_ActorWorld>();
    ASSERT_NE(pWorld->m_pTransform, nullptr);
    ASSERT_NE(pWorld->m_pDefaultLayer, nullptr);
    EXPECT_EQ(pWorld->m_pEditorPawn->m_pTransform, pWorld->m_pTransform);
    EXPECT_EQ(pWorld->m_pEditorPawn->m_pObject, pWorld);
    DestroyData(pWorld);
}

// The pawn draws at the world's own transform, also after a load or a copy filled the world.
TEST(ActorWorld, LoadAndClone_PawnKeepsTheWorldTransform)
{
    using World = KvProjectData_Core_Raw_ActorWorld;
    World* pWorld = NewData<World>();
    pWorld->m_pTransform->m_LocalTransform->m_vPosition = {1, 2, 3};
    pWorld->m_pDefaultLayer->m_strName = "ground";
    const auto saved = KvJsonStore::Save(World::GetReflectedDataType(), pWorld);
    void* pLoaded = KvJsonStore::Load(World::GetReflectedDataType(), saved, "world.json");
    void* pClone = KvReflectionInterface::GetInstance()->CloneObject(World::GetReflectedDataType(), pWorld);
    for (World* pCopy : {static_cast<World*>(pLoaded), static_cast<World*>(pClone)})
    {
        ASSERT_NE(pCopy, nullptr);
        EXPECT_NE(pCopy->m_pTransform, pWorld->m_pTransform);
        EXPECT_EQ(pCopy->m_pEditorPawn->m_pTransform, pCopy->m_pTransform);
        EXPECT_EQ(pCopy->m_pEditorPawn->m_pTransform->m_LocalTransform->m_vPosition, (KvVector3{1, 2, 3}));
        EXPECT_EQ(pCopy->m_pDefaultLayer->m_strName, "ground");
        DestroyData(pCopy);
    }
    DestroyData(pWorld);
}
