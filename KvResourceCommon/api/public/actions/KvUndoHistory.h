#pragma once

#include "Foundation/KvSmartPtr.h"
#include "KvResourceCommonExport.h"
#include "actions/KvNativeAction.h"

#include <vector>

// Runs actions and keeps them for Undo and Redo. After each step it asks the action what it
// touched and hands that back to the caller.
class KV_RESOURCECOMMON_API KvUndoHistory
{
public:
    // What one step touched.
    struct tStepReport
    {
        std::vector<void*> m_aChangedMemory;
        std::vector<KvResource*> m_apModifiedResources;
        bool m_bUpdatesSelection = false;
        std::vector<tReflectedObject> m_aSelection;
    };

    // Runs the action and makes it the latest undo step; the redo steps are dropped.
    tStepReport Do(const KvSmartPtr<KvNativeAction>& action);
    // Reverts the latest step; an empty report when there is none.
    tStepReport Undo();
    // Runs the latest undone step again; an empty report when there is none.
    tStepReport Redo();

    bool CanUndo() const { return !m_aUndo.empty(); }
    bool CanRedo() const { return !m_aRedo.empty(); }
    size_t GetUndoCount() const { return m_aUndo.size(); }
    size_t GetRedoCount() const { return m_aRedo.size(); }
    // Drops every step (the actions are released).
    void Clear();

private:
    static tStepReport Report(const KvNativeAction& action);

    std::vector<KvSmartPtr<KvNativeAction>> m_aUndo;
    std::vector<KvSmartPtr<KvNativeAction>> m_aRedo;
};
