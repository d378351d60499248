#pragma once

#include "KvResourcePlugin_CoreExport.h"

#include <vector>

class KvProjectData_Core_Raw_ActorEntry;
class KvReflectedDataType;
class KvReflectedPrimitive;
struct KvReportSite;

// The prefab actions move actors between parents only through the actor's parent-change
// handler, which keeps parent links and editor pawns in step with the tree.

// Takes each actor out of its parent: no parent actor, no parent transform, no editor pawn.
// The actors themselves are kept; whoever holds them now owns them.
void KvDetachActors(const std::vector<KvProjectData_Core_Raw_ActorEntry*>& actors);
// Tells each actor that it now sits in pMember of pParent: each gets an editor pawn, and under
// an actor entry its parent links.
void KvAttachActors(const KvReflectedDataType* pParentType, void* pParent,
                    const KvReflectedPrimitive* pMember,
                    const std::vector<KvProjectData_Core_Raw_ActorEntry*>& actors);
// The member of a type by name. A missing one is fatal, reported from the caller's site.
KV_PLUGIN_CORE_API const KvReflectedPrimitive*
KvFindExpectedMember(const KvReflectedDataType* pType, const char* memberName, const KvReportSite& site);
