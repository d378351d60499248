#pragma once

#include "reflection/KvReflectedDataTypeBuilder.h"
#include "reflection/KvReflectionInterface.h"

#include <string>
#include <type_traits>
#include <vector>

// Declares the schema of data class T once per process. Constructing it creates the builder
// and sets the class's static type pointer at once, so that members pointing back at T (or
// at classes that point back) see the record under construction. When the name is already
// sealed (declared by another module) nothing is declared and Finish returns that record.
// Members are declared in table order, each followed by its attributes (With).
template <class T>
class KvSchema
{
public:
    KvSchema(const char* typeName, const KvReflectedDataType*& rStaticType,
             KvReflectedObjectConstructor* pConstructor)
        : m_Builder(typeName, sizeof(T), pConstructor)
    {
        rStaticType = m_Builder.GetConstructedType();
    }

    KvSchema(const KvSchema&) = delete;
    KvSchema& operator=(const KvSchema&) = delete;

    bool IsNew() const { return !m_Builder.IsSealed(); }

    // A plain value.
    template <class C, class M>
    KvSchema& Member(const char* name, M C::*member)
    {
        m_Builder.AddMember(name, Own(member));
        return Declared(name);
    }
    // A plain value inside an embedded structure, named with its path ("m_boundingBox.m_vMin").
    template <class C, class S, class M>
    KvSchema& NestedMember(const char* name, S C::*outer, M S::*inner)
    {
        m_Builder.template AddMember<M>(name, KvMemberOffset(Own(outer)) + KvMemberOffset(inner));
        return Declared(name);
    }
    // One element of a fixed array of value arrays ("m_aUVStream[0]").
    template <class C, class E, size_t N>
    KvSchema& ArrayElement(const char* name, std::vector<E> (C::*member)[N], size_t index)
    {
        m_Builder.template AddMemberArray<E>(name, KvMemberOffset(Own(member)) +
                                                       static_cast<uint32_t>(index * sizeof(std::vector<E>)));
        return Declared(name);
    }
    // A 32-bit enumeration; without a converter it is stored as its number.
    template <class C, class M>
    KvSchema& Enum(const char* name, M C::*member, const KvEnumConverterBase* pConverter)
    {
        m_Builder.AddMember(name, Own(member), PRIMITIVE_ENUM, pConverter);
        return Declared(name);
    }
    // An embedded record.
    template <class C, class M>
    KvSchema& Record(const char* name, M C::*member, const KvReflectedDataType* pType)
    {
        m_Builder.AddMember(name, Own(member), PRIMITIVE_STRUCT, pType);
        return Declared(name);
    }
    template <class C, class E>
    KvSchema& Array(const char* name, std::vector<E> C::*member)
    {
        m_Builder.AddMemberArray(name, Own(member));
        return Declared(name);
    }
    template <class C, class E>
    KvSchema& RecordArray(const char* name, std::vector<E> C::*member, const KvReflectedDataType* pType)
    {
        m_Builder.AddMemberArrayValue(name, Own(member), PRIMITIVE_STRUCT, pType);
        return Declared(name);
    }
    template <class C, class P>
    KvSchema& Pointer(const char* name, P* C::*member, const KvReflectedDataType* pType)
    {
        m_Builder.AddMemberPointer(name, Own(member), pType);
        return Declared(name);
    }
    template <class C, class P>
    KvSchema& PointerArray(const char* name, std::vector<P*> C::*member, const KvReflectedDataType* pType)
    {
        m_Builder.AddMemberArrayPointer(name, Own(member), pType);
        return Declared(name);
    }
    // A pointer to a type record (the type of a sibling dynamic pointer), of any type.
    template <class C>
    KvSchema& TypeRecord(const char* name, const KvReflectedDataType* C::*member)
    {
        m_Builder.AddMemberTypeRecordPointer(name, Own(member), nullptr);
        return Declared(name);
    }
    // A pointer to a type record that loads only the base class of the type's
    // CtorByTypeInheritance attribute (declared before) or a class derived from it: the
    // plug-in calls the held object as that base class.
    template <class C>
    KvSchema& InheritedTypeRecord(const char* name, const KvReflectedDataType* C::*member)
    {
        const auto* pInheritance = KvFindAttribute<KvAttribute_CtorByTypeInheritance>(
            m_Builder.GetConstructedType()->GetAttributes());
        m_Builder.AddMemberTypeRecordPointer(
            name, Own(member), pInheritance ? pInheritance->GetBaseClassName().c_str() : nullptr);
        return Declared(name);
    }
    template <class C, class P>
    KvSchema& Dynamic(const char* name, const char* typeMemberName, P* C::*member)
    {
        m_Builder.AddMemberDynamicRefTypePointer(name, typeMemberName, Own(member));
        return Declared(name);
    }
    // An attribute of the member declared last.
    KvSchema& With(KvAttribute* pAttribute)
    {
        m_Builder.AddAttributeMember(m_strLastMember.c_str(), pAttribute);
        return *this;
    }
    // The member declared last is picked in the editor from a drop-down of its targets' names;
    // the flag is the host's, given per member.
    KvSchema& PickedByName(bool bFlag)
    {
        return With(new KvAttribute_ColumnDropDownEditor("m_strName", "", "", bFlag));
    }
    KvSchema& TypeAttribute(KvAttribute* pAttribute)
    {
        m_Builder.AddAttributeType(pAttribute);
        return *this;
    }
    // How the editor previews an object of the type.
    KvSchema& EditorPreview(KvEditorPreviewFunction draw)
    {
        m_Builder.SetEditorPreview(draw);
        return *this;
    }
    // The shown name, property-grid group and tool-tip of the member declared last.
    KvSchema& Presented(const char* displayName, const char* category, const char* description)
    {
        return With(new KvAttribute_DisplayName(displayName))
            .With(new KvAttribute_CategoryName(category))
            .With(new KvAttribute_Description(description));
    }
    // The identity of a cross-referenced class: name, GUID and the unsaved local index.
    template <class C>
    KvSchema& IdentityName(std::string C::*member)
    {
        return Member("m_strName", member).With(new KvAttribute_XRefKey());
    }
    KvSchema& IdentityGuid() { return Member("m_XRefGUID", &T::m_XRefGUID).With(new KvAttribute_XRefKey()); }
    KvSchema& IdentityLocalIndex()
    {
        return Member("m_ulLocalIndex", &T::m_ulLocalIndex)
            .With(new KvAttribute_XRefKey())
            .With(new KvAttribute_NoSerialize())
            .With(new KvAttribute_ReadOnly())
            .With(new KvAttribute_HideInPropertyGrid());
    }

    // Seals a new declaration, registers the record and returns it.
    const KvReflectedDataType* Finish()
    {
        if (IsNew())
            m_Builder.SealDeclaration();
        KvReflectionInterface::GetInstance()->RegisterType(m_Builder.GetConstructedType());
        return m_Builder.GetConstructedType();
    }

private:
    // Members of base classes are converted so that their offsets are T's.
    template <class C, class M>
    static M T::*Own(M C::*member)
    {
        static_assert(std::is_base_of_v<C, T> || std::is_same_v<C, T>, "the member belongs to the class");
        return static_cast<M T::*>(member);
    }

    KvSchema& Declared(const char* name)
    {
        m_strLastMember = name;
        return *this;
    }

    KvReflectedDataTypeBuilder m_Builder;
    std::string m_strLastMember;
};

// A type record known by name only, completed later by the class's own declaration.
inline const KvReflectedDataType* KvDeclareForward(const char* typeName)
{
    KvReflectedDataTypeBuilder builder(typeName, 0, nullptr);
    KvReflectionInterface::GetInstance()->RegisterType(builder.GetConstructedType());
    return builder.GetConstructedType();
}

// The body of Class::GetReflectedDataType(): declared once, then the cached record.
#define KV_BEGIN_SCHEMA(Class, Constructor)                                                                  \
    const KvReflectedDataType* Class::GetReflectedDataType()                                                 \
    {                                                                                                        \
        static const KvReflectedDataType* s_pType = nullptr;                                                 \
        if (s_pType)                                                                                         \
            return s_pType;                                                                                  \
        KvSchema<Class> schema(#Class, s_pType, new Constructor<Class>());                                   \
        if (schema.IsNew())                                                                                  \
        {

#define KV_END_SCHEMA()                                                                                      \
    }                                                                                                        \
    return schema.Finish();                                                                                  \
    }
