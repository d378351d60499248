#include "TypeManager/KvTypeInfo.h"
#include "actions/KvUndoHistory.h"
#include "resources/KvResource.h"
#include "support/KvActorProject.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{
using Actor = ActorProject::Actor;
using Prefab = ActorProject::Prefab;
using Actors = std::vector<Actor*>;
using Objects = std::vector<void*>;
using Names = std::vector<std::string>;
using Update = KvNativeAction_ActorPrefab_Update;
using Extract = KvNativeAction_ActorPrefab_Extract;

Objects SelectedActors(const KvUndoHistory::tStepReport& report)
{
    Objects objects;
    for (const tReflectedObject& selected : report.m_aSelection)
        if (selected.m_pType == Actor::GetReflectedDataType())
            objects.push_back(selected.m_pObject);
    return objects;
}

// Out of the tree: no parent links and no pawn.
void ExpectDetached(const Actor* pActor)
{
    EXPECT_TRUE(!pActor->m_pParentActor && !pActor->m_pTransform->m_pParentTransform &&
                !pActor->m_pEditorPawn)
        << pActor->m_strName;
}

// "actor" under a root, an instance of "before", with children c1 and c2; prefab "p" holds p1,
// which has a child.
struct UpdateScene : ActorProject
{
    Prefab* pBefore = NewPrefab("before");
    Prefab* pPrefab = NewPrefab("p");
    Actor* pP1 = AddActor(pPrefab, "p1");
    Actor* pActor = AddChild(AddRoot("root"), "actor", pBefore);
    Actor* pC1 = AddChild(pActor, "c1");
    Actor* pC2 = AddChild(pActor, "c2");
    UpdateScene() { AddChild(pP1, "p1 child"); }
};

// "actor", an instance of "p", with child k; "p" holds p1 (which has a child) and p2.
struct ExtractScene : ActorProject
{
    Prefab* pPrefab = NewPrefab("p");
    Actor* pP1 = AddActor(pPrefab, "p1");
    Actor* pP2 = AddActor(pPrefab, "p2");
    Actor* pActor = AddRoot("actor", pPrefab);
    Actor* pKept = AddChild(pActor, "k");
    ExtractScene() { AddChild(pP1, "p1 child"); }
};
} // namespace

// Every prefab but those instanced anywhere below the children, in list order; without
// children every prefab, the actor's own included, and the chosen prefab ends up empty.
TEST(PrefabUpdate, Menu_EveryPrefabNotInstancedBelowTheChildren)
{
    ActorProject project;
    Prefab* pOwn = project.NewPrefab("own");
    Prefab* pDirect = project.NewPrefab("direct");
    Prefab* pDeep = project.NewPrefab("deep");
    Prefab* pLoop = project.NewPrefab("loop");
    project.NewPrefab("free");
    Actor* pActor = project.AddRoot("actor", pOwn);
    project.AddChild(pActor, "c1", pDirect);
    project.AddChild(project.AddChild(pActor, "c2"), "grandchild", pDeep);
    project.AddActor(pDeep, "d", pLoop);
    project.AddActor(pLoop, "l", pDeep);
    EXPECT_EQ(ActionNames(ActionMenu(pActor, "Prefab Update")),
              (Names{"Update prefab own", "Update prefab free"}));
    const ActionList all = ActionMenu(project.AddRoot("leaf", pOwn), "Prefab Update");
    ASSERT_EQ(ActionNames(all)[2], "Update prefab deep");
    all[2]->Do();
    EXPECT_TRUE(pDeep->m_apActors.empty());
}

// Done, the action owns the prefab's former actors and frees them with it.
TEST(PrefabUpdate, DoUndoRedo_ChildrenAndPrefabActorsTradePlaces)
{
    UpdateScene scene;
    KvResource resource, runResource;
    scene.pPrefab->m_pRunResource = &runResource;
    KvUndoHistory history;
    const auto expectDone = [&](const KvUndoHistory::tStepReport& report)
    {
        EXPECT_EQ(scene.pPrefab->m_apActors, (Actors{scene.pC1, scene.pC2}));
        EXPECT_TRUE(scene.pActor->m_apChildren.empty());
        EXPECT_EQ(scene.pActor->m_pPrefab, scene.pPrefab);
        ExpectDetached(scene.pP1);
        EXPECT_EQ(scene.FindLinkFault(), "");
        EXPECT_EQ(report.m_aChangedMemory, (Objects{scene.pActor, scene.pPrefab}));
        EXPECT_EQ(report.m_apModifiedResources, (std::vector<KvResource*>{&resource, &runResource}));
        EXPECT_TRUE(report.m_bUpdatesSelection);
        EXPECT_EQ(SelectedActors(report), Objects{scene.pActor});
    };
    expectDone(history.Do(new Update(scene.pPrefab, scene.pActor, &resource)));
    history.Undo();
    EXPECT_EQ(scene.pPrefab->m_apActors, Actors{scene.pP1});
    EXPECT_EQ(scene.pActor->m_apChildren, (Actors{scene.pC1, scene.pC2}));
    EXPECT_EQ(scene.pActor->m_pPrefab, scene.pBefore);
    EXPECT_EQ(scene.FindLinkFault(), "");
    expectDone(history.Redo());
    const size_t pawns = ActorProject::LivePawnCount();
    history.Clear();
    EXPECT_EQ(ActorProject::LivePawnCount(), pawns - 1) << "p1's child takes its pawn along";
    // Made by the type manager, the action has nothing to work on.
    const KvSmartPtr<KvNativeAction> pBlank = static_cast<Update*>(Update::GetType()->CreateInstance());
    pBlank->Do();
    pBlank->Undo();
}

// The copies are made once: a redo brings back the same objects, linked under the actor.
// Undone, the action owns the copies and frees them with it.
TEST(PrefabExtract, DoUndoRedo_CopiesThePrefabsActorsOnceUnderTheActor)
{
    ExtractScene scene;
    KvResource resource;
    ActionList actions = ActionMenu(scene.pActor, "Prefab Extract", &resource);
    ASSERT_EQ(ActionNames(actions), Names{"Extract prefab p"});
    KvUndoHistory history;
    const KvUndoHistory::tStepReport done = history.Do(actions[0]);
    const Actors children = scene.pActor->m_apChildren;
    ASSERT_EQ(children.size(), 3u);
    const Actor* pCopy = children[1];
    EXPECT_EQ(children[0], scene.pKept);
    EXPECT_TRUE(pCopy != scene.pP1 && pCopy->m_strName == "p1" && children[2]->m_strName == "p2");
    ASSERT_EQ(pCopy->m_apChildren.size(), 1u);
    EXPECT_NE(pCopy->m_apChildren[0], scene.pP1->m_apChildren[0]);
    EXPECT_EQ(scene.pActor->m_pPrefab, nullptr);
    EXPECT_EQ(scene.pPrefab->m_apActors, (Actors{scene.pP1, scene.pP2}));
    // The copies' own children link the copies, not the prefab's actors.
    EXPECT_EQ(scene.FindLinkFault(), "");
    EXPECT_EQ(SelectedActors(done), (Objects{children[1], children[2]}));
    EXPECT_EQ(done.m_aChangedMemory, Objects{scene.pActor});
    EXPECT_EQ(done.m_apModifiedResources, std::vector<KvResource*>{&resource});
    const auto expectUndone = [&](const KvUndoHistory::tStepReport& report)
    {
        EXPECT_EQ(SelectedActors(report), Objects{scene.pActor});
        EXPECT_EQ(scene.pActor->m_apChildren, Actors{scene.pKept});
        EXPECT_EQ(scene.pActor->m_pPrefab, scene.pPrefab);
        ExpectDetached(children[1]);
        ExpectDetached(children[2]);
    };
    expectUndone(history.Undo());
    history.Redo();
    EXPECT_EQ(scene.pActor->m_apChildren, children);
    EXPECT_EQ(scene.FindLinkFault(), "");
    expectUndone(history.Undo());
    const size_t pawns = ActorProject::LivePawnCount();
    actions.clear();
    history.Clear();
    EXPECT_EQ(ActorProject::LivePawnCount(), pawns - 1) << "the copy of p1's child takes its pawn along";
}

// Without actors only the prefab link changes. A prefab that is not live (none of its name) is
// not offered, nor is a prefab to an actor without one, and an action made anyway leaves the
// actor alone.
TEST(PrefabExtract, EmptyOrMissingPrefab_OnlyTheLinkChangesOrNothing)
{
    ExtractScene scene;
    Prefab* pEmpty = scene.pActor->m_pPrefab = scene.NewPrefab("empty");
    KvUndoHistory history;
    history.Do(new Extract(nullptr, scene.pActor));
    EXPECT_EQ(scene.pActor->m_pPrefab, nullptr);
    EXPECT_EQ(scene.pActor->m_apChildren, Actors{scene.pKept});
    history.Undo();
    EXPECT_EQ(scene.pActor->m_pPrefab, pEmpty);

    // A copy is not registered as a live object.
    Prefab unlisted(*pEmpty);
    unlisted.m_strName = "unlisted";
    scene.pActor->m_pPrefab = &unlisted;
    EXPECT_TRUE(ActionMenu(scene.pActor, "Prefab Extract").empty());
    EXPECT_TRUE(ActionMenu(scene.AddRoot("plain"), "Prefab Extract").empty());
    const KvSmartPtr<KvNativeAction> action = new Extract(nullptr, scene.pActor);
    EXPECT_EQ(action->GetName(), "Extract prefab unlisted");
    action->Do();
    EXPECT_EQ(scene.pActor->m_pPrefab, &unlisted);
    EXPECT_EQ(scene.pActor->m_apChildren, Actors{scene.pKept});
}
