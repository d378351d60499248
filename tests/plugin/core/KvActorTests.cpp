#include "actions/KvAttributeEventArgs_DragDrop.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "store/KvJsonStore.h"
#include "support/KvReflectedData.h"

#include <gtest/gtest.h>

namespace
{
using Actor = KvProjectData_Core_Raw_ActorEntry;
using Prefab = KvProjectData_Core_Raw_ActorPrefab;

std::string DisplayNameOf(const Actor& actor)
{
    std::string name;
    Actor::GetDisplayName(name, Actor::GetReflectedDataType(), &actor);
    return name;
}

// An actor dropped on a new place, and its parent before or after the drop.
class DragDrop : public ::testing::Test
{
protected:
    OwnedData<Actor> m_pParent = MakeData<Actor>();
    OwnedData<Actor> m_pMoved = MakeData<Actor>();
    KvAttributeEventArgs_DragDrop m_Arguments;
};
} // namespace

TEST(Actor, ContextConstructor_NamesFromThePrefab)
{
    auto pPrefab = MakeNamed<Prefab>("Tree");
    Actor fromNone(ContextFor<Actor>(nullptr));
    EXPECT_EQ(fromNone.m_strName, "[NEW ACTOR]");
    Actor fromPrefab(ContextFor<Actor>(pPrefab.get()));
    EXPECT_EQ(fromPrefab.m_strName, "[PREFAB]Tree");
    EXPECT_EQ(fromPrefab.m_pPrefab, pPrefab.get());
    // The stack actors own their transforms; the host would release them by schema.
    for (Actor* pActor : {&fromNone, &fromPrefab})
        DestroyData(pActor->m_pTransform);
}

TEST(Actor, DisplayNames)
{
    auto pPrefab = MakeNamed<Prefab>("Rock");
    auto pActor = MakeNamed<Actor>("hero");
    EXPECT_EQ(DisplayNameOf(*pActor), "hero");
    pActor->m_strName = "old [PREFAB] copy";
    EXPECT_EQ(DisplayNameOf(*pActor), "[PREFAB] - Please manually rename");
    pActor->m_pPrefab = pPrefab.get();
    EXPECT_EQ(DisplayNameOf(*pActor), "[PREFAB]Rock");
    pActor->m_strName = "[PREFAB";
    EXPECT_EQ(DisplayNameOf(*pActor), "[PREFAB");
    std::string untouched = "kept";
    Actor::GetDisplayName(untouched, Prefab::GetReflectedDataType(), pActor.get());
    EXPECT_EQ(untouched, "kept");
    // The type's delegate is what the host asks.
    EXPECT_EQ(Actor::GetReflectedDataType()->GetObjectDisplayName(pActor.get()), "[PREFAB");
}

TEST(Actor, ConstructContexts_NoneFirstThenLivePrefabs)
{
    auto pPrefab = MakeData<Prefab>();
    std::vector<KvReflectedObjCtorContext*> contexts;
    Actor::GetConstructContexts(contexts, Actor::GetReflectedDataType(), nullptr, nullptr);
    EXPECT_EQ(contexts.at(0)->m_strLabel, "NONE");
    EXPECT_EQ(contexts.at(0)->m_pSourceObject, nullptr);
    EXPECT_EQ(contexts.back()->m_pSourceObject, pPrefab.get());
    for (KvReflectedObjCtorContext* pContext : contexts)
        delete pContext;
}

TEST(Actor, Load_ReplacesTheConstructorTransformAndRelinksTheParent)
{
    auto pParent = MakeData<Actor>();
    Actor* pChild = NewNamed<Actor>("child");
    pChild->m_pTransform->m_LocalTransform->m_vPosition = {4, 5, 6};
    pParent->m_apChildren.push_back(pChild);
    pChild->m_pParentActor = pParent.get();
    const auto saved = KvJsonStore::Save(Actor::GetReflectedDataType(), pParent.get());
    const OwnedData<Actor> pLoaded(
        static_cast<Actor*>(KvJsonStore::Load(Actor::GetReflectedDataType(), saved, "actor.json")));
    ASSERT_NE(pLoaded, nullptr);
    ASSERT_EQ(pLoaded->m_apChildren.size(), 1u);
    Actor* pLoadedChild = pLoaded->m_apChildren[0];
    EXPECT_EQ(pLoadedChild->m_pTransform->m_LocalTransform->m_vPosition, (KvVector3{4, 5, 6}));
    EXPECT_EQ(pLoadedChild->m_pEditorPawn->m_pTransform, pLoadedChild->m_pTransform);
    // The parent actor link is not saved; the parent-change handler restores it in the editor.
    EXPECT_EQ(pLoadedChild->m_pParentActor, nullptr);
}

TEST_F(DragDrop, ToTheRoot_KeepsWorldPlacementAndDoublesHierarchyScale)
{
    KvTransformSpace& parent = *m_pParent->m_pTransform->m_LocalTransform;
    parent.m_fUniformHierarchyScale = 2.0f;
    parent.m_vYPR = {30, 0, 0};
    parent.m_vPosition = {5, 0, 0};
    m_pParent->m_pTransform->CalculateWorldFromLocal();
    m_pMoved->m_pTransform->m_LocalTransform->m_vPosition = {1, 1, 0};
    m_pMoved->m_pTransform->m_pParentTransform = m_pParent->m_pTransform;
    m_pMoved->m_pTransform->CalculateWorldFromLocal();
    const KvTransformSpace before = *m_pMoved->m_pTransform->m_WorldTransform;

    // The host has already moved the actor to the root.
    m_pMoved->m_pTransform->m_pParentTransform = nullptr;
    m_Arguments.m_pPreviousParentType = Actor::GetReflectedDataType();
    m_Arguments.m_pPreviousParent = m_pParent.get();
    m_Arguments.m_pMovedType = Actor::GetReflectedDataType();
    m_Arguments.m_pMoved = m_pMoved.get();
    EXPECT_TRUE(Actor::OnAfterDragDrop(&m_Arguments));
    const KvTransformSpace& world = *m_pMoved->m_pTransform->m_WorldTransform;
    EXPECT_NEAR(world.m_vPosition.x, before.m_vPosition.x, 1e-5f);
    EXPECT_NEAR(world.m_vPosition.y, before.m_vPosition.y, 1e-5f);
    EXPECT_NEAR(world.m_vYPR.x, before.m_vYPR.x, 1e-3f);
    EXPECT_FLOAT_EQ(m_pMoved->m_pTransform->m_LocalTransform->m_fUniformHierarchyScale, 2.0f);
}

TEST_F(DragDrop, UnderAScaledParent_HalvesPositionAndHierarchyScale)
{
    m_pParent->m_pTransform->m_LocalTransform->m_fUniformHierarchyScale = 2.0f;
    m_pParent->m_pTransform->CalculateWorldFromLocal();
    m_pMoved->m_pTransform->m_LocalTransform->m_vPosition = {4, 2, 0};
    m_pMoved->m_pTransform->m_pParentTransform = m_pParent->m_pTransform;
    m_Arguments.m_pTargetType = Actor::GetReflectedDataType();
    m_Arguments.m_pTarget = m_pParent.get();
    m_Arguments.m_pMoved = m_pMoved.get();
    EXPECT_TRUE(Actor::OnAfterDragDrop(&m_Arguments));
    const KvTransformSpace& local = *m_pMoved->m_pTransform->m_LocalTransform;
    EXPECT_EQ(local.m_vPosition, (KvVector3{2, 1, 0}));
    EXPECT_FLOAT_EQ(local.m_fUniformHierarchyScale, 0.5f);
    EXPECT_EQ(m_pMoved->m_pTransform->m_pParentTransform, m_pParent->m_pTransform);
    EXPECT_EQ(m_pMoved->m_pTransform->m_WorldTransform->m_vPosition, (KvVector3{4, 2, 0}));
}

// The pawn draws at the world's own transform, also after a load or a copy filled the world.
TEST(ActorWorld, LoadAndClone_PawnKeepsTheWorldTransform)
{
    using World = KvProjectData_Core_Raw_ActorWorld;
    const auto pWorld = MakeData<World>();
    pWorld->m_pTransform->m_LocalTransform->m_vPosition = {1, 2, 3};
    pWorld->m_pDefaultLayer->m_strName = "ground";
    const auto saved = KvJsonStore::Save(World::GetReflectedDataType(), pWorld.get());
    const OwnedData<World> pLoaded(
        static_cast<World*>(KvJsonStore::Load(World::GetReflectedDataType(), saved, "world.json")));
    const OwnedData<World> pClone(static_cast<World*>(
        KvReflectionInterface::GetInstance()->CloneObject(World::GetReflectedDataType(), pWorld.get())));
    for (World* pCopy : {pWorld.get(), pLoaded.get(), pClone.get()})
    {
        ASSERT_NE(pCopy, nullptr);
        EXPECT_EQ(pCopy->m_pEditorPawn->m_pObject, pCopy);
        EXPECT_EQ(pCopy->m_pEditorPawn->m_pTransform, pCopy->m_pTransform);
        EXPECT_EQ(pCopy->m_pEditorPawn->m_pTransform->m_LocalTransform->m_vPosition, (KvVector3{1, 2, 3}));
        EXPECT_EQ(pCopy->m_pDefaultLayer->m_strName, "ground");
    }
    EXPECT_NE(pClone->m_pTransform, pWorld->m_pTransform);
}
