#include "TypeManager/KvTypeInfo.h"
#include "actions/KvUndoHistory.h"
#include "projectdata/KvSchema.h"
#include "resources/KvResource.h"
#include "support/KvActorProject.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{
using Actor = ActorProject::Actor;
using Prefab = ActorProject::Prefab;
using Actors = std::vector<Actor*>;
using Update = KvNativeAction_ActorPrefab_Update;
using Extract = KvNativeAction_ActorPrefab_Extract;

std::vector<std::string> NamesOf(const ActorProject::Actions& actions)
{
    std::vector<std::string> names;
    for (const KvSmartPtr<KvNativeAction>& action : actions)
        names.push_back(action->GetName());
    return names;
}

std::vector<void*> SelectedObjects(const KvUndoHistory::tStepReport& report)
{
    std::vector<void*> objects;
    for (const tReflectedObject& selected : report.m_aSelection)
    {
        EXPECT_EQ(selected.m_pType, Actor::GetReflectedDataType());
        objects.push_back(selected.m_pObject);
    }
    return objects;
}

// An actor taken out of the tree: no parent links and no pawn.
void ExpectDetached(const Actor* pActor)
{
    SCOPED_TRACE(pActor->m_strName);
    EXPECT_EQ(pActor->m_pParentActor, nullptr);
    EXPECT_EQ(pActor->m_pTransform->m_pParentTransform, nullptr);
    EXPECT_EQ(pActor->m_pEditorPawn, nullptr);
}

// Actor "actor" under a root, an instance of "before", with children c1 and c2; prefab "p" has
// actor p1, which has a child.
struct UpdateScene
{
    ActorProject project;
    Prefab* pBefore = project.NewPrefab("before");
    Prefab* pPrefab = project.NewPrefab("p");
    Actor* pP1 = project.AddActor(pPrefab, "p1");
    Actor* pActor = project.AddChild(project.AddRoot("root"), "actor", pBefore);
    Actor* pC1 = project.AddChild(pActor, "c1");
    Actor* pC2 = project.AddChild(pActor, "c2");
    UpdateScene() { project.AddChild(pP1, "p1 child"); }
};

// Actor "actor", an instance of "p", with child k; "p" has actors p1 (with a child) and p2.
struct ExtractScene
{
    ActorProject project;
    Prefab* pPrefab = project.NewPrefab("p");
    Actor* pP1 = project.AddActor(pPrefab, "p1");
    Actor* pP2 = project.AddActor(pPrefab, "p2");
    Actor* pActor = project.AddRoot("actor", pPrefab);
    Actor* pKept = project.AddChild(pActor, "k");
    ExtractScene() { project.AddChild(pP1, "p1 child"); }
};
} // namespace

// Every prefab but those instanced anywhere below the children, in list order; without
// children every prefab, the actor's own included.
TEST(PrefabUpdate, Menu_EveryPrefabNotInstancedBelowTheChildren)
{
    ActorProject project;
    Prefab* pOwn = project.NewPrefab("own");
    Prefab* pDirect = project.NewPrefab("direct");
    Prefab* pDeep = project.NewPrefab("deep");
    Prefab* pLoop = project.NewPrefab("loop");
    project.NewPrefab("free");
    Actor* pActor = project.AddRoot("actor", pOwn);
    Actor* pLeaf = project.AddRoot("leaf", pOwn);
    project.AddChild(pActor, "c1", pDirect);
    project.AddChild(project.AddChild(pActor, "c2"), "grandchild", pDeep);
    project.AddActor(pDeep, "d", pLoop);
    project.AddActor(pLoop, "l", pDeep);
    EXPECT_EQ(NamesOf(ActorProject::Menu(pActor, "Prefab Update")),
              (std::vector<std::string>{"Update prefab own", "Update prefab free"}));
    EXPECT_EQ(NamesOf(ActorProject::Menu(pLeaf, "Prefab Update")),
              (std::vector<std::string>{"Update prefab own", "Update prefab direct", "Update prefab deep",
                                        "Update prefab loop", "Update prefab free"}));
}

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
        EXPECT_EQ(scene.project.FindLinkFault(), "");
        EXPECT_EQ(report.m_aChangedMemory, (std::vector<void*>{scene.pActor, scene.pPrefab}));
        EXPECT_EQ(report.m_apModifiedResources, (std::vector<KvResource*>{&resource, &runResource}));
        EXPECT_TRUE(report.m_bUpdatesSelection);
        EXPECT_EQ(SelectedObjects(report), std::vector<void*>{scene.pActor});
    };
    expectDone(history.Do(new Update(scene.pPrefab, scene.pActor, &resource)));
    history.Undo();
    EXPECT_EQ(scene.pPrefab->m_apActors, Actors{scene.pP1});
    EXPECT_EQ(scene.pActor->m_apChildren, (Actors{scene.pC1, scene.pC2}));
    EXPECT_EQ(scene.pActor->m_pPrefab, scene.pBefore);
    EXPECT_EQ(scene.project.FindLinkFault(), "");
    expectDone(history.Redo());
}

// Done, the action owns the prefab's former actors and frees them with it; undone, it frees
// nothing. Without children the prefab ends up empty.
TEST(PrefabUpdate, Release_FreesTheFormerActorsOnlyWhileDone)
{
    for (const bool bUndone : {false, true})
    {
        SCOPED_TRACE(bUndone);
        UpdateScene scene;
        for (Actor* pChild : std::exchange(scene.pActor->m_apChildren, {}))
            DestroyData(pChild);
        KvUndoHistory history;
        history.Do(new Update(scene.pPrefab, scene.pActor, nullptr));
        EXPECT_TRUE(scene.pPrefab->m_apActors.empty());
        if (bUndone)
            history.Undo();
        const size_t pawns = ActorProject::LivePawnCount();
        history.Clear();
        // The former actor's child takes its pawn along.
        EXPECT_EQ(ActorProject::LivePawnCount(), bUndone ? pawns : pawns - 1);
    }
    // Made by the type manager, the action has nothing to work on.
    const KvSmartPtr<KvNativeAction> pBlank = static_cast<Update*>(Update::GetType()->CreateInstance());
    pBlank->Do();
    pBlank->Undo();
}

// The copies are made once: a redo brings back the same objects, linked under the actor.
TEST(PrefabExtract, DoUndoRedo_CopiesThePrefabsActorsOnceUnderTheActor)
{
    ExtractScene scene;
    KvResource resource;
    const ActorProject::Actions actions = ActorProject::Menu(scene.pActor, "Prefab Extract", &resource);
    ASSERT_EQ(NamesOf(actions), std::vector<std::string>{"Extract prefab p"});
    KvUndoHistory history;
    const KvUndoHistory::tStepReport done = history.Do(actions[0]);
    const Actors children = scene.pActor->m_apChildren;
    ASSERT_EQ(children.size(), 3u);
    const Actors copies(children.begin() + 1, children.end());
    EXPECT_EQ(children[0], scene.pKept);
    EXPECT_NE(copies[0], scene.pP1);
    EXPECT_EQ(copies[0]->m_strName, "p1");
    ASSERT_EQ(copies[0]->m_apChildren.size(), 1u);
    EXPECT_NE(copies[0]->m_apChildren[0], scene.pP1->m_apChildren[0]);
    EXPECT_EQ(copies[1]->m_strName, "p2");
    EXPECT_EQ(scene.pActor->m_pPrefab, nullptr);
    EXPECT_EQ(scene.pPrefab->m_apActors, (Actors{scene.pP1, scene.pP2}));
    // The copies' own children link the copies, not the prefab's actors.
    EXPECT_EQ(scene.project.FindLinkFault(), "");
    EXPECT_EQ(SelectedObjects(done), (std::vector<void*>{copies[0], copies[1]}));
    EXPECT_EQ(done.m_aChangedMemory, std::vector<void*>{scene.pActor});
    EXPECT_EQ(done.m_apModifiedResources, std::vector<KvResource*>{&resource});

    EXPECT_EQ(SelectedObjects(history.Undo()), std::vector<void*>{scene.pActor});
    EXPECT_EQ(scene.pActor->m_apChildren, Actors{scene.pKept});
    EXPECT_EQ(scene.pActor->m_pPrefab, scene.pPrefab);
    for (const Actor* pCopy : copies)
        ExpectDetached(pCopy);
    history.Redo();
    EXPECT_EQ(scene.pActor->m_apChildren, children);
    EXPECT_EQ(scene.project.FindLinkFault(), "");
}

// Undone, the action owns the copies and frees them with it; done, they stay the actor's.
TEST(PrefabExtract, Release_FreesTheCopiesOnlyWhileUndone)
{
    for (const bool bUndone : {false, true})
    {
        SCOPED_TRACE(bUndone);
        ExtractScene scene;
        KvUndoHistory history;
        history.Do(new Extract(nullptr, scene.pActor));
        if (bUndone)
            history.Undo();
        const size_t pawns = ActorProject::LivePawnCount();
        history.Clear();
        // The copy of p1's child takes its pawn along.
        EXPECT_EQ(ActorProject::LivePawnCount(), bUndone ? pawns - 1 : pawns);
        EXPECT_EQ(scene.pActor->m_apChildren.size(), bUndone ? 1u : 3u);
    }
}

// Without actors only the prefab link changes. A prefab that is not live (none of its name)
// is not offered, and an action made anyway leaves the actor alone.
TEST(PrefabExtract, EmptyOrMissingPrefab_OnlyTheLinkChangesOrNothing)
{
    ExtractScene scene;
    Prefab* pEmpty = scene.project.NewPrefab("empty");
    scene.pActor->m_pPrefab = pEmpty;
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
    EXPECT_TRUE(ActorProject::Menu(scene.pActor, "Prefab Extract").empty());
    const KvSmartPtr<KvNativeAction> action = new Extract(nullptr, scene.pActor);
    EXPECT_EQ(action->GetName(), "Extract prefab unlisted");
    action->Do();
    EXPECT_EQ(scene.pActor->m_pPrefab, &unlisted);
    EXPECT_EQ(scene.pActor->m_apChildren, Actors{scene.pKept});
}

TEST(PrefabExtract, NoActorOrNoPrefab_Fatal)
{
    const char* file = "actions\\KvNativeAction_ActorPrefab_Extract";
    const char* function = "KvNativeAction_ActorPrefab_Extract::KvNativeAction_ActorPrefab_Extract";
    const char* message = "Expected valid actor entry with a valid prefab actor such that the prefab can be "
                          "opened for edit.";
    ActorProject project;
    Actor* pPlain = project.AddRoot("plain");
    EXPECT_FATAL(Extract(nullptr, nullptr), file, function, 24, message);
    EXPECT_FATAL(Extract(nullptr, pPlain), file, function, 24, message);
    EXPECT_FATAL(Extract::GetType()->CreateInstance(), file, function, 24, message);
    EXPECT_TRUE(ActorProject::Menu(pPlain, "Prefab Extract").empty());
}

TEST(PrefabActions, MissingMember_Fatal)
{
    const KvReflectedDataType* pNameOnly = KvDeclareForward("NameOnlyForPrefabActions");
    EXPECT_FATAL(KvFindExpectedMember(pNameOnly, "m_apActors", {"actions\\Somewhere", "Somewhere::Do", 7}),
                 "actions\\Somewhere", "Somewhere::Do", 7,
                 "Failed to find expected primitive 'NameOnlyForPrefabActions.m_apActors'");
}
