#include "actions/KvUndoHistory.h"

KvUndoHistory::tStepReport KvUndoHistory::Report(const KvNativeAction& action)
{
    tStepReport report;
    action.GetChangedMemory(report.m_aChangedMemory);
    action.GetModifiedResources(report.m_apModifiedResources);
    report.m_bUpdatesSelection = action.UpdatesSelection();
    if (report.m_bUpdatesSelection)
        action.GetSelection(report.m_aSelection);
    return report;
}

KvUndoHistory::tStepReport KvUndoHistory::Do(const KvSmartPtr<KvNativeAction>& action)
{
    if (!action)
        return {};
    action->Do();
    m_aRedo.clear();
    m_aUndo.push_back(action);
    return Report(*action);
}

KvUndoHistory::tStepReport KvUndoHistory::Undo()
{
    if (m_aUndo.empty())
        return {};
    KvSmartPtr<KvNativeAction> action = m_aUndo.back();
    m_aUndo.pop_back();
    action->Undo();
    m_aRedo.push_back(action);
    return Report(*action);
}

KvUndoHistory::tStepReport KvUndoHistory::Redo()
{
    if (m_aRedo.empty())
        return {};
    KvSmartPtr<KvNativeAction> action = m_aRedo.back();
    m_aRedo.pop_back();
    action->Do();
    m_aUndo.push_back(action);
    return Report(*action);
}

void KvUndoHistory::Clear()
{
    m_aUndo.clear();
    m_aRedo.clear();
}
