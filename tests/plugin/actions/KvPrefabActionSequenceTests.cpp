#include "actions/KvUndoHistory.h"
#include "support/KvActorProject.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
using Actor = ActorProject::Actor;
using Prefab = ActorProject::Prefab;

class RandomProject : public ActorProject
{
public:
    explicit RandomProject(uint32_t seed) : m_Random(seed)
    {
        for (int index = Pick(2, 5); index > 0; --index)
            NewPrefab("prefab " + std::to_string(index));
        NewShape("rock");
        for (Prefab* pPrefab : m_apPrefabs)
            for (int count = Pick(0, 2); count > 0; --count)
                Decorate(AddActor(pPrefab, PickName(), PickPrefab()), 0);
        for (int count = Pick(1, 3); count > 0; --count)
            Decorate(AddRoot(PickName(), PickPrefab()), 0);
    }

    int Pick(int lowest, int highest) { return std::uniform_int_distribution(lowest, highest)(m_Random); }
    template <class T>
    T PickOf(const std::vector<T>& list)
    {
        return list.at(Pick(0, static_cast<int>(list.size()) - 1));
    }

    // Every actor placed in the project, at any depth.
    std::vector<Actor*> PlacedActors() const
    {
        std::vector<Actor*> actors = m_pLayer->m_apActors;
        for (const Prefab* pPrefab : m_apPrefabs)
            actors.insert(actors.end(), pPrefab->m_apActors.begin(), pPrefab->m_apActors.end());
        for (size_t index = 0; index < actors.size(); ++index)
            actors.insert(actors.end(), actors[index]->m_apChildren.begin(),
                          actors[index]->m_apChildren.end());
        return actors;
    }

    // What the menu of a random actor or prefab offers.
    Actions PickMenu()
    {
        switch (Pick(0, 2))
        {
        case 0:
            return Menu(PickOf(m_apPrefabs), "Actor 'mob' as prefab instance");
        case 1:
            return Menu(PickOf(PlacedActors()), "Prefab Update");
        default:
            return Menu(PickOf(PlacedActors()), "Prefab Extract");
        }
    }

private:
    std::string PickName() { return PickOf(std::vector<const char*>{"mob", "MoB", "mobs", "tree"}); }
    // Any prefab, the one being filled included, so that prefabs instance each other.
    Prefab* PickPrefab() { return Pick(0, 2) == 0 ? nullptr : PickOf(m_apPrefabs); }

    void Decorate(Actor* pActor, int depth)
    {
        for (int count = Pick(0, 2); count > 0; --count)
            pActor->m_apComponents.push_back(NewData<KvProjectData_Core_Raw_ActorComponent>());
        if (Pick(0, 1) == 0)
            pActor->m_pDefaultEditorShape = m_apShapes[0];
        for (int count = depth < 2 ? Pick(0, 2) : 0; count > 0; --count)
            Decorate(AddChild(pActor, PickName(), PickPrefab()), depth + 1);
    }

    std::mt19937 m_Random;
};
} // namespace

// Random projects and random runs of the actions through a history: every undo gives back the
// project exactly as saved before the step, every redo as saved after it, and the editor's
// links hold after each step. Releasing the history frees what the actions own (sanitizer
// build: no leak, nothing freed twice).
TEST(PrefabActionSequences, UndoAndRedo_RestoreTheSavedProjectExactly)
{
    for (uint32_t seed = 1; seed <= 40; ++seed)
    {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomProject project(seed);
        const KvJsonStore::Json initial = project.Save();
        struct tStep
        {
            KvJsonStore::Json m_Before, m_After;
        };
        std::vector<tStep> done, undone;
        KvUndoHistory history;
        for (int step = 0; step < 30; ++step)
        {
            SCOPED_TRACE("step " + std::to_string(step));
            const int choice = project.Pick(0, 9);
            if (choice < 3 && history.CanUndo())
            {
                history.Undo();
                ASSERT_TRUE(project.Save() == done.back().m_Before);
                undone.push_back(std::move(done.back()));
                done.pop_back();
            }
            else if (choice < 4 && history.CanRedo())
            {
                history.Redo();
                ASSERT_TRUE(project.Save() == undone.back().m_After);
                done.push_back(std::move(undone.back()));
                undone.pop_back();
            }
            else if (const ActorProject::Actions actions = project.PickMenu(); !actions.empty())
            {
                KvJsonStore::Json before = project.Save();
                history.Do(project.PickOf(actions));
                done.push_back({std::move(before), project.Save()});
                undone.clear();
            }
            ASSERT_EQ(project.FindLinkFault(), "");
        }
        while (history.CanUndo())
            history.Undo();
        EXPECT_TRUE(project.Save() == initial);
    }
}
