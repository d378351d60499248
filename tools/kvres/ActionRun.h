#pragma once

#include "Foundation/KvSmartPtr.h"
#include "actions/KvNativeAction.h"
#include "host/KvResult.h"

#include <string>
#include <vector>

class KvResource;

// A resource name as saved ("\" separated) from one written with either separator.
std::string ToResourceName(std::string written);

// Runs an action as the editor does, through an undo history: Do, then Undo when asked. Appends
// each resource a step reported as modified, once. Whatever the action logged is the failure.
KvResult RunAction(const KvSmartPtr<KvNativeAction>& action, bool bUndo,
                   std::vector<KvResource*>& outModified);
