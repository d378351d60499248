#include "actions/KvActionFactories.h"

// The menus exist on their types; none of them offers an action yet, so each appends nothing.

void GetPrefabExtractActions(KvActionList&, KvResource*, const KvReflectedDataType*, void*,
                             const KvReflectedPrimitive*, void*)
{
}

void GetPrefabUpdateActions(KvActionList&, KvResource*, const KvReflectedDataType*, void*,
                            const KvReflectedPrimitive*, void*)
{
}

void GetExportPrefabActions(KvActionList&, KvResource*, const KvReflectedDataType*, void*,
                            const KvReflectedPrimitive*, void*)
{
}

void GetMobAsPrefabInstanceActions(KvActionList&, KvResource*, const KvReflectedDataType*, void*,
                                   const KvReflectedPrimitive*, void*)
{
}

void GetRenderingActions(KvActionList&, KvResource*, const KvReflectedDataType*, void*,
                         const KvReflectedPrimitive*, void*)
{
}
