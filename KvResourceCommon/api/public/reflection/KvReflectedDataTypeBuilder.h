#pragma once

#include "KvResourceCommonExport.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectedValueType.h"

#include <string>
#include <vector>

class KvEnumConverterBase;

// Declares one reflected type. Constructing a builder finds or creates the named record in
// the reflection registry: a name already sealed yields that record and the builder adds
// nothing (IsSealed() is true); a forward-declared name is completed in place.
// The builder owns every attribute and the object constructor handed to it.
class KV_RESOURCECOMMON_API KvReflectedDataTypeBuilder
{
public:
    // Size 0 and no constructor make a forward declaration.
    KvReflectedDataTypeBuilder(const char* name, uint32_t size, KvReflectedObjectConstructor* pConstructor);
    ~KvReflectedDataTypeBuilder() = default;

    KvReflectedDataTypeBuilder(const KvReflectedDataTypeBuilder&) = delete;
    KvReflectedDataTypeBuilder& operator=(const KvReflectedDataTypeBuilder&) = delete;

    // A plain value: bool, u8, u32, s32, f32, handle (void*), string, GUID, vectors,
    // quaternion, colour.
    template <class C, class T>
    void AddMember(const char* name, T C::*member)
    {
        AddValue(name, PRIMITIVE_VALUE, KvReflectedValueTypeOf<T>::value, KvMemberOffset(member), sizeof(T),
                 nullptr);
    }
    // A plain value at an offset, for members inside embedded structures or fixed arrays
    // ("m_boundingBox.m_vMin").
    template <class T>
    void AddMember(const char* name, uint32_t offset)
    {
        AddValue(name, PRIMITIVE_VALUE, KvReflectedValueTypeOf<T>::value, offset, sizeof(T), nullptr);
    }
    // An enumeration (kind PRIMITIVE_ENUM) named by its converter.
    template <class C, class T>
    void AddMember(const char* name, T C::*member, eReflectedPrimitiveType kind,
                   const KvEnumConverterBase* converter)
    {
        static_assert(sizeof(T) == 4, "enumerations are held in 32 bits");
        AddValue(name, kind, VALUE_NONE, KvMemberOffset(member), sizeof(T), converter);
    }
    // An embedded record (kind PRIMITIVE_STRUCT) of the given type.
    template <class C, class T>
    void AddMember(const char* name, T C::*member, eReflectedPrimitiveType kind,
                   const KvReflectedDataType* pType)
    {
        AddRecord(name, kind, KvMemberOffset(member), sizeof(T), pType);
    }
    // A growable array of plain values.
    template <class C, class E>
    void AddMemberArray(const char* name, std::vector<E> C::*member)
    {
        AddArray(name, PRIMITIVE_VALUE, KvReflectedValueTypeOf<E>::value, nullptr, KvMemberOffset(member),
                 new KvReflectedArrayAccessorOf<E>());
    }
    // A growable array of plain values at an offset ("m_aUVStream[0]").
    template <class E>
    void AddMemberArray(const char* name, uint32_t offset)
    {
        AddArray(name, PRIMITIVE_VALUE, KvReflectedValueTypeOf<E>::value, nullptr, offset,
                 new KvReflectedArrayAccessorOf<E>());
    }
    // A growable array of records held by value (element kind PRIMITIVE_STRUCT).
    template <class C, class E>
    void AddMemberArrayValue(const char* name, std::vector<E> C::*member, eReflectedPrimitiveType elementKind,
                             const KvReflectedDataType* pElementType)
    {
        AddArray(name, elementKind, VALUE_NONE, pElementType, KvMemberOffset(member),
                 new KvReflectedArrayAccessorOf<E>());
    }
    // One object of the pointee type; owned unless the member is marked XRef or
    // MemberDataNotOwned.
    template <class C, class P>
    void AddMemberPointer(const char* name, P* C::*member, const KvReflectedDataType* pPointeeType)
    {
        AddPointer(name, PRIMITIVE_POINTER, KvMemberOffset(member), pPointeeType, nullptr);
    }
    // A growable array of objects, owned unless the member is marked XRef or
    // MemberDataNotOwned; an array of type records is refused (logged).
    template <class C, class P>
    void AddMemberArrayPointer(const char* name, std::vector<P*> C::*member,
                               const KvReflectedDataType* pElementType)
    {
        AddPointer(name, PRIMITIVE_ARRAY_POINTER, KvMemberOffset(member), pElementType,
                   new KvReflectedArrayAccessorOf<P*>());
    }
    // A pointer to a type record, the type of a sibling dynamic pointer. With a base class
    // name, a load accepts only that class and the classes derived from it (type manager).
    template <class C>
    void AddMemberTypeRecordPointer(const char* name, const KvReflectedDataType* C::*member,
                                    const char* baseClassName)
    {
        AddTypeRecordPointer(name, KvMemberOffset(member), baseClassName);
    }
    // An owned object whose type record is held in another member of the same object.
    template <class C, class P>
    void AddMemberDynamicRefTypePointer(const char* name, const char* typeMemberName, P* C::*member)
    {
        AddDynamicPointer(name, typeMemberName, KvMemberOffset(member));
    }

    // Attaches to a declared member (found by name); an unknown member is logged and dropped.
    void AddAttributeMember(const char* memberName, KvAttribute* pAttribute);
    template <class C, class T>
    void AddAttributeMember(const char* memberName, T C::*, KvAttribute* pAttribute)
    {
        AddAttributeMember(memberName, pAttribute);
    }
    void AddAttributeType(KvAttribute* pAttribute);
    // How objects of the type draw their editor preview; ignored once the type is sealed.
    void SetEditorPreview(KvEditorPreviewFunction draw);

    void SealDeclaration();
    bool IsSealed() const;
    KvReflectedDataType* GetConstructedType() const { return m_pType; }

private:
    KvReflectedPrimitive* NewMember(const char* name, eReflectedPrimitiveType kind, uint32_t offset,
                                    uint32_t width);
    void AddValue(const char* name, eReflectedPrimitiveType kind, eReflectedValueType valueType,
                  uint32_t offset, uint32_t width, const KvEnumConverterBase* pConverter);
    void AddRecord(const char* name, eReflectedPrimitiveType kind, uint32_t offset, uint32_t width,
                   const KvReflectedDataType* pType);
    void AddArray(const char* name, eReflectedPrimitiveType elementKind, eReflectedValueType valueType,
                  const KvReflectedDataType* pElementType, uint32_t offset,
                  KvReflectedArrayAccessor* pAccessor);
    // The new member, or null when it is refused.
    KvReflectedPrimitive* AddPointer(const char* name, eReflectedPrimitiveType kind, uint32_t offset,
                                     const KvReflectedDataType* pPointeeType,
                                     KvReflectedArrayAccessor* pAccessor);
    void AddTypeRecordPointer(const char* name, uint32_t offset, const char* baseClassName);
    void AddDynamicPointer(const char* name, const char* typeMemberName, uint32_t offset);

    KvReflectedDataType* m_pType;
};
