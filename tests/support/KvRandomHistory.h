#pragma once

#include "actions/KvUndoHistory.h"
#include "store/KvJsonStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

// Random runs of Do, Undo and Redo through a history: after every step the state saves exactly
// as it did when the history last stood at the same step, and unwinding the whole history and
// replaying it reaches the first and the last state. `nextAction` may offer nothing (null).
inline void RunRandomHistory(std::mt19937& random, int steps, const std::function<KvJsonStore::Json()>& save,
                             const std::function<KvSmartPtr<KvNativeAction>()>& nextAction)
{
    KvUndoHistory history;
    std::vector<KvJsonStore::Json> saved = {save()};
    for (int step = 0; step < steps; ++step)
    {
        SCOPED_TRACE(step);
        const uint32_t choice = random() % 10;
        if (choice < 3)
            history.Undo();
        else if (choice < 4)
            history.Redo();
        else if (const KvSmartPtr<KvNativeAction> action = nextAction())
        {
            history.Do(action);
            saved.resize(history.GetUndoCount());
            saved.push_back(save());
        }
        ASSERT_TRUE(save() == saved.at(history.GetUndoCount()));
    }
    while (history.CanUndo())
        history.Undo();
    EXPECT_TRUE(save() == saved[0]);
    while (history.CanRedo())
        history.Redo();
    EXPECT_TRUE(save() == saved.back());
}
