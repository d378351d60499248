#pragma once

#include "KvResourceCommonExport.h"
#include "reflection/KvReflectedPrimitive.h"

#include <cstddef>
#include <utility>

// The one place that tells members apart by how they hold their data. Every schema walker
// (release, clone, reference walk, JSON save and load, schema description) is a visitor with
// one callback per kind below, so a new kind is added here and each walker that names all
// kinds stops compiling until it says what the new one means to it. The callbacks get the
// member and whatever the walker passes along (owner type, objects, paths, documents); all
// callbacks of one visitor return the same type.
//
//   Value              a plain value of GetValueType()
//   Enum               a 32-bit enumeration, named by GetEnumConverter() when it has one
//   Record             an embedded record of GetElementType()
//   ValueArray         a growable array of plain values of GetValueType()
//   RecordArray        a growable array of embedded records of GetElementType()
//   OwnedPointer       an object of GetPointeeType() that the owner frees, copies and saves
//   OwnedPointerArray  a growable array of such objects
//   Reference          a pointer to an object someone else owns: a cross-reference (XRef)
//                      or a parent link (MemberDataNotOwned)
//   ReferenceArray     a growable array of such pointers
//   TypeRecord         a pointer to a type record, never followed
//   DynamicPointer     an owned object of the type a sibling member holds
// Ends the process: the builder makes no other kind, so a member that has one is memory gone bad.
[[noreturn]] KV_RESOURCECOMMON_API void KvFailUnknownMemberKind(const KvReflectedPrimitive& member);

template <class Visitor, class... Args>
decltype(auto) KvVisitMember(const KvReflectedPrimitive& member, Visitor&& visitor, Args&&... args)
{
    switch (member.GetKind())
    {
    case PRIMITIVE_VALUE:
        return visitor.Value(member, std::forward<Args>(args)...);
    case PRIMITIVE_ENUM:
        return visitor.Enum(member, std::forward<Args>(args)...);
    case PRIMITIVE_STRUCT:
        return visitor.Record(member, std::forward<Args>(args)...);
    case PRIMITIVE_ARRAY:
        return visitor.ValueArray(member, std::forward<Args>(args)...);
    case PRIMITIVE_ARRAY_STRUCT:
        return visitor.RecordArray(member, std::forward<Args>(args)...);
    case PRIMITIVE_POINTER:
        if (member.IsTypeRecordPointer())
            return visitor.TypeRecord(member, std::forward<Args>(args)...);
        if (member.IsOwningPointer())
            return visitor.OwnedPointer(member, std::forward<Args>(args)...);
        return visitor.Reference(member, std::forward<Args>(args)...);
    case PRIMITIVE_ARRAY_POINTER:
        if (member.IsOwningPointer())
            return visitor.OwnedPointerArray(member, std::forward<Args>(args)...);
        return visitor.ReferenceArray(member, std::forward<Args>(args)...);
    case PRIMITIVE_DYNAMIC_POINTER:
        return visitor.DynamicPointer(member, std::forward<Args>(args)...);
    case PRIMITIVE_NONE:
        break;
    }
    KvFailUnknownMemberKind(member);
}

// A base for walkers that act on a few kinds only: every kind it does not name is passed by.
struct KvMemberVisitorSkippingAll
{
    template <class... Args>
    void Value(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void Enum(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void Record(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void ValueArray(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void RecordArray(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void OwnedPointer(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void OwnedPointerArray(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void Reference(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void ReferenceArray(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void TypeRecord(const KvReflectedPrimitive&, Args&&...)
    {
    }
    template <class... Args>
    void DynamicPointer(const KvReflectedPrimitive&, Args&&...)
    {
    }
};

// Calls visit(pElement, index) for each element of the array member of an object.
template <class Visit>
void KvForEachElement(const KvReflectedPrimitive& member, const void* pObject, Visit&& visit)
{
    const KvReflectedArrayAccessor* pAccessor = member.GetArrayAccessor();
    void* pArray = const_cast<void*>(member.GetAddress(pObject));
    const size_t size = pAccessor->GetSize(pArray);
    for (size_t index = 0; index < size; ++index)
        visit(pAccessor->GetElement(pArray, index), index);
}
