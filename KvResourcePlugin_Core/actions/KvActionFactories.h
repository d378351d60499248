#pragma once

#include "Foundation/KvSmartPtr.h"

#include <vector>

class KvNativeAction;
class KvReflectedDataType;
class KvReflectedPrimitive;
class KvResource;

// The action factories attached to data types with their menu names. Each appends the
// actions it offers for the selected object.
using KvActionList = std::vector<KvSmartPtr<KvNativeAction>>;

// Actor entries: "Prefab Extract" and "Prefab Update".
void GetPrefabExtractActions(KvActionList& outActions, KvResource* pResource,
                             const KvReflectedDataType* pType, void* pObject,
                             const KvReflectedPrimitive* pMember, void* pMemberData);
void GetPrefabUpdateActions(KvActionList& outActions, KvResource* pResource, const KvReflectedDataType* pType,
                            void* pObject, const KvReflectedPrimitive* pMember, void* pMemberData);
// Prefabs: "Export Prefab" and "Actor 'mob' as prefab instance".
void GetExportPrefabActions(KvActionList& outActions, KvResource* pResource, const KvReflectedDataType* pType,
                            void* pObject, const KvReflectedPrimitive* pMember, void* pMemberData);
void GetMobAsPrefabInstanceActions(KvActionList& outActions, KvResource* pResource,
                                   const KvReflectedDataType* pType, void* pObject,
                                   const KvReflectedPrimitive* pMember, void* pMemberData);
