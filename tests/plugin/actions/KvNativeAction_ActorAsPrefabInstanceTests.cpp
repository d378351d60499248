#include "actions/KvUndoHistory.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "resources/KvResource.h"
#include "support/KvActorProject.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

namespace
{
using Actor = ActorProject::Actor;
using Prefab = ActorProject::Prefab;
using Component = KvProjectData_Core_Raw_ActorComponent;
using Action = KvNativeAction_ActorAsPrefabInstance;
using Names = std::vector<std::string>;

constexpr const char* kMenu = "Actor 'mob' as prefab instance";
} // namespace

TEST(MobAsPrefabInstance, Menu_TheFirstActorNamedMobInAnyCaseAndWithThreeLettersOnly)
{
    const std::pair<const char*, bool> rows[] = {{"mob", true},   {"MOB", true}, {"mOb", true},
                                                 {"mobs", false}, {"mo", false}, {"mob ", false},
                                                 {"", false}};
    for (const auto& [name, bFound] : rows)
    {
        SCOPED_TRACE(name);
        ActorProject project;
        Prefab* pSource = project.NewPrefab("source");
        Prefab* pTarget = project.NewPrefab("target");
        project.AddActor(pSource, "other");
        Actor* pFirst = project.AddActor(pSource, name);
        Actor* pSecond = project.AddActor(pSource, "Mob");
        const ActionList actions = ActionMenu(pSource, kMenu);
        ASSERT_EQ(ActionNames(actions), Names{"target"});
        actions[0]->Do();
        EXPECT_EQ(pFirst->m_pPrefab, bFound ? pTarget : nullptr);
        EXPECT_EQ(pSecond->m_pPrefab, bFound ? nullptr : pTarget);
    }
}

// Not the source, nor what it instances directly, through a child actor or through other
// prefabs (which may instance each other and the source); a prefab without a mob offers nothing.
TEST(MobAsPrefabInstance, Menu_NeitherTheSourceNorAPrefabItInstancesThroughAnyPath)
{
    ActorProject project;
    Prefab* pSource = project.NewPrefab("source");
    Prefab* pDirect = project.NewPrefab("direct");
    Prefab* pViaChild = project.NewPrefab("via child");
    Prefab* pViaPrefab = project.NewPrefab("via prefab");
    project.AddActor(project.NewPrefab("instances source"), "copy", pSource);
    project.NewPrefab("free");
    project.AddActor(pSource, "mob");
    project.AddChild(project.AddActor(pSource, "house", pDirect), "door", pViaChild);
    project.AddActor(pViaChild, "frame", pViaPrefab);
    project.AddActor(pViaPrefab, "back", pViaChild);
    project.AddActor(pViaPrefab, "loop", pSource);
    EXPECT_EQ(ActionNames(ActionMenu(pSource, kMenu)), (Names{"instances source", "free"}));
    EXPECT_TRUE(ActionMenu(pDirect, kMenu).empty());
}

// Components and shape are taken once and come back once, after what the actor has by then.
// Released while undone, the action leaves them to the actor (sanitizer build: none freed twice).
TEST(MobAsPrefabInstance, DoUndoRedo_TakesComponentsAndShapeOnceAndAppendsThemOnUndo)
{
    ActorProject project;
    Prefab* pBefore = project.NewPrefab("before");
    Prefab* pTarget = project.NewPrefab("target");
    const auto pShape = MakeData<KvProjectData_Core_Raw_RenderShapeMesh>();
    Actor* pMob = project.AddActor(project.NewPrefab("source"), "mob", pBefore);
    pMob->m_pDefaultEditorShape = pShape.get();
    const std::vector<Component*> components = {NewData<Component>(), NewData<Component>()};
    pMob->m_apComponents = components;
    KvResource resource;
    KvUndoHistory history;
    const KvUndoHistory::tStepReport done = history.Do(new Action(pMob, pTarget, &resource, true));
    EXPECT_EQ(done.m_aChangedMemory, std::vector<void*>{pMob});
    EXPECT_EQ(done.m_apModifiedResources, std::vector<KvResource*>{&resource});
    EXPECT_TRUE(!done.m_bUpdatesSelection && done.m_aSelection.empty());
    for (int pass = 0; pass < 2; ++pass, history.Redo())
    {
        EXPECT_EQ(pMob->m_pPrefab, pTarget);
        EXPECT_TRUE(pMob->m_apComponents.empty());
        EXPECT_EQ(pMob->m_pDefaultEditorShape, nullptr);
        history.Undo();
        EXPECT_EQ(pMob->m_pPrefab, pBefore);
        EXPECT_EQ(pMob->m_apComponents, components);
        EXPECT_EQ(pMob->m_pDefaultEditorShape, pShape.get());
    }
    Component* pAdded = pMob->m_apComponents.emplace_back(NewData<Component>());
    history.Undo();
    EXPECT_EQ(pMob->m_apComponents, (std::vector<Component*>{pAdded, components[0], components[1]}));
}

// Released while done, the action frees the components it took (sanitizer build: no leak) but
// not the shape, a cross-reference its render-shape resource owns. Without a prefab it is named
// "(none)" and clears the actor's; without a resource it reports none.
TEST(MobAsPrefabInstance, ReleasedWhileDone_FreesTheComponentsOnly)
{
    ActorProject project;
    const auto pShape = MakeData<KvProjectData_Core_Raw_RenderShapeMesh>();
    Actor* pMob = project.AddActor(project.NewPrefab("source"), "mob", project.NewPrefab("before"));
    pMob->m_pDefaultEditorShape = pShape.get();
    pMob->m_apComponents = {NewData<Component>()};
    KvSmartPtr<KvNativeAction> action = new Action(pMob, nullptr, nullptr, true);
    EXPECT_EQ(action->GetName(), "(none)");
    KvUndoHistory history;
    EXPECT_TRUE(history.Do(action).m_apModifiedResources.empty());
    EXPECT_EQ(pMob->m_pPrefab, nullptr);
    action.Clear();
    history.Clear();
    EXPECT_EQ(KvProjectData_Core_Raw_RenderShapeMesh::GetExternalReference(pShape->m_XRefGUID), pShape.get());
}
