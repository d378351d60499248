#pragma once

#include "reflection/KvReflectedObjCtorContext.h"

#include <vector>

// The "create" entries offered from live objects: "NONE" first (no source), then one per
// live object of the source type, labelled with its shown name.
void KvAppendLiveObjectContexts(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                const char* sourceTypeName, const KvReflectedDataType* pTargetType,
                                void* pParentObject, const KvReflectedPrimitive* pParentMember);
