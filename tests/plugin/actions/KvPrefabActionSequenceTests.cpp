#include "support/KvActorProject.h"
#include "support/KvRandomHistory.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
// Prefabs and root actors with children, components, names that are sometimes a "mob", and
// prefab links to any prefab, so that prefabs instance each other and themselves.
class RandomProject : public ActorProject
{
public:
    explicit RandomProject(std::mt19937& random) : m_Random(random)
    {
        for (int count = Pick(2, 5); count > 0; --count)
            NewPrefab("prefab " + std::to_string(count));
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

    // The 'mob' menu of a prefab, or the update or extract menu of an actor placed anywhere.
    ActionList PickMenu()
    {
        if (Pick(0, 2) == 0)
            return ActionMenu(PickOf(m_apPrefabs), "Actor 'mob' as prefab instance");
        std::vector<Actor*> actors = m_pLayer->m_apActors;
        for (const Prefab* pPrefab : m_apPrefabs)
            actors.insert(actors.end(), pPrefab->m_apActors.begin(), pPrefab->m_apActors.end());
        for (size_t index = 0; index < actors.size(); ++index)
            actors.insert(actors.end(), actors[index]->m_apChildren.begin(),
                          actors[index]->m_apChildren.end());
        return ActionMenu(PickOf(actors), Pick(0, 1) == 0 ? "Prefab Update" : "Prefab Extract");
    }

private:
    std::string PickName() { return PickOf(std::vector<std::string>{"mob", "MoB", "mobs", "tree"}); }
    Prefab* PickPrefab() { return Pick(0, 2) == 0 ? nullptr : PickOf(m_apPrefabs); }
    void Decorate(Actor* pActor, int depth)
    {
        for (int count = Pick(0, 2); count > 0; --count)
            pActor->m_apComponents.push_back(NewData<KvProjectData_Core_Raw_ActorComponent>());
        for (int count = depth < 2 ? Pick(0, 2) : 0; count > 0; --count)
            Decorate(AddChild(pActor, PickName(), PickPrefab()), depth + 1);
    }

    std::mt19937& m_Random;
};
} // namespace

// Random runs of the actions through a history restore the saved project and keep the
// editor's links. Dropped redo steps and the history's release free what the actions own,
// undone and done (sanitizer build: no leak, nothing freed twice).
TEST(PrefabActionSequences, UndoAndRedo_RestoreTheSavedProjectExactly)
{
    for (uint32_t seed = 1; seed <= 40; ++seed)
    {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        RandomProject project(random);
        const auto save = [&]
        {
            EXPECT_EQ(project.FindLinkFault(), "");
            return project.Save();
        };
        const auto next = [&]
        {
            const ActionList actions = project.PickMenu();
            return actions.empty() ? KvSmartPtr<KvNativeAction>() : project.PickOf(actions);
        };
        RunRandomHistory(random, 30, save, next);
    }
}
