#include "ActionRun.h"

#include "actions/KvUndoHistory.h"
#include "host/KvLogCapture.h"

#include <algorithm>

std::string ToResourceName(std::string written)
{
    std::replace(written.begin(), written.end(), '/', '\\');
    return written;
}

KvResult RunAction(const KvSmartPtr<KvNativeAction>& action, bool bUndo,
                   std::vector<KvResource*>& outModified)
{
    KvLogCapture log;
    KvUndoHistory history;
    auto collect = [&](const KvUndoHistory::tStepReport& report)
    {
        for (KvResource* pResource : report.m_apModifiedResources)
            if (std::find(outModified.begin(), outModified.end(), pResource) == outModified.end())
                outModified.push_back(pResource);
    };
    collect(history.Do(action));
    if (bUndo)
        collect(history.Undo());
    if (log.GetMessages().empty())
        return {};
    std::string reason;
    for (const std::string& message : log.GetMessages())
        reason += (reason.empty() ? "" : "\n") + message;
    return KvResult::Failure(reason);
}
