#pragma once

#include "KvResourceCommonExport.h"

#include <cstddef>

class KvReflectedDataType;
class KvReflectedPrimitive;

// Schema-driven operations on object trees. Owned children are reached through owned
// pointers, owned pointer arrays and dynamic pointers, also inside embedded records and
// record arrays; cross-references and not-owned pointers are never followed.
namespace KvObjectTree
{
// Whether a type takes care of the owned children its constructor made when a load or a
// copy replaces them: true for types with a post-deserialise step, which the host runs after
// filling the object; for other types the host frees those children before replacing them.
KV_RESOURCECOMMON_API bool ReconcilesConstructedChildren(const KvReflectedDataType* pType);
// A new object of the type whose reflected members equal the source's; owned children are
// copied (an object owned twice in the source is copied once and shared again); a reference
// to an object copied before it, such as an owner's, points at that copy. Types with a
// post-deserialise step get it after the copy, as after a load.
KV_RESOURCECOMMON_API void* Clone(const KvReflectedDataType* pType, const void* pSource);
// Every owned child once, each member cleared as it goes, then the object itself.
KV_RESOURCECOMMON_API void Destroy(const KvReflectedDataType* pType, void* pObject);
// Points every cross-reference or not-owned pointer in the tree that holds `from` at `to`;
// returns how many were changed.
KV_RESOURCECOMMON_API size_t RetargetReferences(const KvReflectedDataType* pType, void* pRoot,
                                                const void* from, void* to);
// The type record a dynamic pointer's sibling member holds, or null.
KV_RESOURCECOMMON_API const KvReflectedDataType* GetDynamicType(const KvReflectedDataType* pOwnerType,
                                                                const void* pOwner,
                                                                const KvReflectedPrimitive* pMember);
} // namespace KvObjectTree
