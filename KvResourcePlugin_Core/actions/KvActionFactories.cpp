#include "actions/KvActionFactories.h"

#include "actions/KvNativeAction_ActorPrefab_Export.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvSchema.h"

namespace
{
// The actor and prefab factories make sure the prefab type is known by name before they use it.
void DeclarePrefabTypeName()
{
    KvDeclareForward("KvProjectData_Core_Raw_ActorPrefab");
}
} // namespace

// The menus exist on their types; those without an action yet append nothing.

void GetPrefabExtractActions(KvActionList&, KvResource*, const KvReflectedDataType*, void*,
                             const KvReflectedPrimitive*, void*)
{
}

void GetPrefabUpdateActions(KvActionList&, KvResource*, const KvReflectedDataType*, void*,
                            const KvReflectedPrimitive*, void*)
{
}

// The selected prefab is the object argument.
void GetExportPrefabActions(KvActionList& outActions, KvResource*, const KvReflectedDataType*, void* pObject,
                            const KvReflectedPrimitive*, void*)
{
    DeclarePrefabTypeName();
    outActions.push_back(
        new KvNativeAction_ActorPrefab_Export(static_cast<KvProjectData_Core_Raw_ActorPrefab*>(pObject)));
}

void GetMobAsPrefabInstanceActions(KvActionList&, KvResource*, const KvReflectedDataType*, void*,
                                   const KvReflectedPrimitive*, void*)
{
}
