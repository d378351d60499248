#include "TypeManager/KvTypeInfo.h"
#include "actions/KvUndoHistory.h"
#include "resources/KvResource.h"
#include "support/KvActorProject.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

namespace
{
using Actor = ActorProject::Actor;
using Prefab = ActorProject::Prefab;
using Action = KvNativeAction_ActorAsPrefabInstance;

constexpr const char* kMobMenu = "Actor 'mob' as prefab instance";

std::vector<std::string> NamesOf(const ActorProject::Actions& actions)
{
    std::vector<std::string> names;
    for (const KvSmartPtr<KvNativeAction>& action : actions)
        names.push_back(action->GetName());
    return names;
}
} // namespace

TEST(MobAsPrefabInstance, Menu_FindsTheFirstActorNamedMobInAnyCaseAndOnlyWithThreeLetters)
{
    const std::pair<const char*, bool> rows[] = {{"mob", true},   {"MOB", true}, {"mOb", true},
                                                 {"mobs", false}, {"mo", false}, {"mob ", false},
                                                 {"m0b", false},  {"", false}};
    for (const auto& [name, bFound] : rows)
    {
        SCOPED_TRACE(name);
        ActorProject project;
        Prefab* pSource = project.NewPrefab("source");
        Prefab* pTarget = project.NewPrefab("target");
        project.AddActor(pSource, "other");
        Actor* pMob = project.AddActor(pSource, name);
        Actor* pSecondMob = project.AddActor(pSource, "Mob");
        ActorProject::Actions actions = ActorProject::Menu(pSource, kMobMenu);
        ASSERT_EQ(NamesOf(actions), std::vector<std::string>{"target"});
        actions[0]->Do();
        EXPECT_EQ(pMob->m_pPrefab, bFound ? pTarget : nullptr);
        EXPECT_EQ(pSecondMob->m_pPrefab, bFound ? nullptr : pTarget);
    }
}

// Neither the prefab itself nor one it instances: directly, through a child actor, or through
// other prefabs, which may instance each other and the source.
TEST(MobAsPrefabInstance, Menu_NeverOffersTheSourceNorAPrefabItInstancesThroughAnyPath)
{
    ActorProject project;
    Prefab* pSource = project.NewPrefab("source");
    Prefab* pDirect = project.NewPrefab("direct");
    Prefab* pViaChild = project.NewPrefab("via child");
    Prefab* pViaPrefab = project.NewPrefab("via prefab");
    Prefab* pInstancesSource = project.NewPrefab("instances source");
    project.NewPrefab("free");
    project.AddActor(pSource, "mob");
    Actor* pHouse = project.AddActor(pSource, "house", pDirect);
    project.AddChild(pHouse, "door", pViaChild);
    project.AddActor(pViaChild, "frame", pViaPrefab);
    project.AddActor(pViaPrefab, "back", pViaChild);
    project.AddActor(pViaPrefab, "loop", pSource);
    project.AddActor(pInstancesSource, "copy", pSource);
    EXPECT_EQ(NamesOf(ActorProject::Menu(pSource, kMobMenu)),
              (std::vector<std::string>{"instances source", "free"}));
    // A prefab without a mob offers nothing.
    EXPECT_TRUE(ActorProject::Menu(pDirect, kMobMenu).empty());
}

// The components and shape are taken once and come back once, after what the actor has then;
// the history reports the actor and its resource.
TEST(MobAsPrefabInstance, DoUndoRedo_TakesComponentsAndShapeOnceAndAppendsThemOnUndo)
{
    ActorProject project;
    Prefab* pBefore = project.NewPrefab("before");
    Prefab* pTarget = project.NewPrefab("target");
    Actor* pMob = project.AddActor(project.NewPrefab("source"), "mob", pBefore);
    pMob->m_pDefaultEditorShape = project.NewShape("rock");
    using Component = KvProjectData_Core_Raw_ActorComponent;
    const std::vector<Component*> components = {NewData<Component>(), NewData<Component>()};
    pMob->m_apComponents = components;
    KvResource resource;
    KvUndoHistory history;
    const KvUndoHistory::tStepReport done = history.Do(new Action(pMob, pTarget, &resource, true));
    EXPECT_EQ(done.m_aChangedMemory, std::vector<void*>{pMob});
    EXPECT_EQ(done.m_apModifiedResources, std::vector<KvResource*>{&resource});
    EXPECT_FALSE(done.m_bUpdatesSelection);
    EXPECT_TRUE(done.m_aSelection.empty());
    for (int redo = 0; redo < 2; ++redo)
    {
        EXPECT_EQ(pMob->m_pPrefab, pTarget);
        EXPECT_TRUE(pMob->m_apComponents.empty());
        EXPECT_EQ(pMob->m_pDefaultEditorShape, nullptr);
        history.Undo();
        EXPECT_EQ(pMob->m_pPrefab, pBefore);
        EXPECT_EQ(pMob->m_apComponents, components);
        EXPECT_EQ(pMob->m_pDefaultEditorShape, project.m_apShapes[0]);
        history.Redo();
    }
    Component* pAdded = pMob->m_apComponents.emplace_back(NewData<Component>());
    history.Undo();
    EXPECT_EQ(pMob->m_apComponents, (std::vector<Component*>{pAdded, components[0], components[1]}));
    // Released while undone, the action leaves the components to the actor (sanitizer build:
    // nothing is freed twice when the project goes).
    history.Clear();
}

// Released while done, the action frees the components it took (sanitizer build: nothing
// leaks). The shape is a cross-reference that its render-shape resource owns: it stays.
TEST(MobAsPrefabInstance, ReleasedWhileDone_FreesTheComponentsAndKeepsTheSharedShape)
{
    ActorProject project;
    Actor* pMob = project.AddActor(project.NewPrefab("source"), "mob");
    ActorProject::Shape* pShape = pMob->m_pDefaultEditorShape = project.NewShape("rock");
    pMob->m_apComponents = {NewData<KvProjectData_Core_Raw_ActorComponent>()};
    KvUndoHistory history;
    history.Do(new Action(pMob, project.NewPrefab("target"), nullptr, true));
    history.Clear();
    EXPECT_EQ(ActorProject::Shape::GetExternalReference("rock"), pShape);
}

TEST(MobAsPrefabInstance, NoPrefabNoResource_NamedNoneClearsThePrefabAndReportsNoResource)
{
    ActorProject project;
    Actor* pMob = project.AddActor(project.NewPrefab("source"), "mob", project.NewPrefab("before"));
    const KvSmartPtr<KvNativeAction> action = new Action(pMob, nullptr, nullptr, false);
    EXPECT_EQ(action->GetName(), "(none)");
    KvUndoHistory history;
    EXPECT_TRUE(history.Do(action).m_apModifiedResources.empty());
    EXPECT_EQ(pMob->m_pPrefab, nullptr);
}

TEST(MobAsPrefabInstance, NullActor_Fatal)
{
    const char* file = "actions\\KvNativeAction_ActorAsPrefabInstance";
    const char* function = "KvNativeAction_ActorAsPrefabInstance::KvNativeAction_ActorAsPrefabInstance";
    const char* message = "Cannot accept a NULL Actor for this action.";
    EXPECT_FATAL(Action(nullptr, nullptr, nullptr, true), file, function, 23, message);
    EXPECT_FATAL(Action::GetType()->CreateInstance(), file, function, 23, message);
}
