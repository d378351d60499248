#pragma once

#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectedValueType.h"

// Members of objects the plug-in knows by their type record only (game types found by name),
// found by member name. A member is used only when the type holds it as the kind asked for, so
// that a game module that declares it otherwise, or not at all, only loses the value.
namespace KvGameObjectFields
{
// The plain member of that name and value type, or null (also without a type or object).
template <class T>
T* Find(const KvReflectedDataType* pType, void* pObject, const char* name)
{
    const int32_t index = pType && pObject ? pType->FindMember(name) : -1;
    if (index < 0)
        return nullptr;
    const KvReflectedPrimitive& member = *pType->GetMember(index);
    if (member.GetKind() != PRIMITIVE_VALUE || member.GetValueType() != KvReflectedValueTypeOf<T>::value)
        return nullptr;
    return static_cast<T*>(member.GetAddress(pObject));
}

// Points the cross-reference of that name at the target when the member refers to objects of
// the target's type; an owned pointer is never given an object it does not own.
inline void SetReference(const KvReflectedDataType* pType, void* pObject, const char* name,
                         const KvReflectedDataType* pTargetType, void* pTarget)
{
    const int32_t index = pType && pObject ? pType->FindMember(name) : -1;
    if (index < 0)
        return;
    const KvReflectedPrimitive& member = *pType->GetMember(index);
    if (member.GetKind() == PRIMITIVE_POINTER && member.HasAttribute(ATTRIBUTE_XREF) &&
        member.GetPointeeType() == pTargetType)
        *static_cast<void**>(member.GetAddress(pObject)) = pTarget;
}
} // namespace KvGameObjectFields
