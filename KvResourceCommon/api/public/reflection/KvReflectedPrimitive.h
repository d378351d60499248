#pragma once

#include "KvResourceCommonExport.h"
#include "reflection/KvAttributes.h"
#include "reflection/KvReflectedArrayAccessor.h"
#include "reflection/KvReflectedValueType.h"

#include <cstdint>
#include <string>
#include <vector>

class KvEnumConverterBase;
class KvReflectedDataType;

// One declared member of a reflected type: where it lives in the object and what it holds.
class KV_RESOURCECOMMON_API KvReflectedPrimitive
{
public:
    KvReflectedPrimitive(const std::string& name, eReflectedPrimitiveType kind, uint32_t offset,
                         uint32_t width);
    ~KvReflectedPrimitive();

    KvReflectedPrimitive(const KvReflectedPrimitive&) = delete;
    KvReflectedPrimitive& operator=(const KvReflectedPrimitive&) = delete;

    const std::string& GetName() const { return m_strName; }
    eReflectedPrimitiveType GetKind() const { return m_eKind; }
    // Plain values and value arrays: the value (or element) type.
    eReflectedValueType GetValueType() const { return m_eValueType; }
    uint32_t GetOffset() const { return m_uiOffset; }
    uint32_t GetWidth() const { return m_uiWidth; }
    // Arrays: how their elements are held.
    eReflectedPrimitiveType GetElementKind() const { return m_eElementKind; }
    // Embedded records and arrays of records: the record type.
    const KvReflectedDataType* GetElementType() const { return m_pElementType; }
    // Pointers and arrays of pointers: the pointee type.
    const KvReflectedDataType* GetPointeeType() const { return m_pPointeeType; }
    const KvEnumConverterBase* GetEnumConverter() const { return m_pEnumConverter; }
    // Dynamic pointers: the member of the same object that holds the pointee's type record.
    const std::string& GetDynamicTypeMember() const { return m_strDynamicTypeMember; }
    // Pointers to type records: the class every held type must be or derive from; empty
    // when any type may be held.
    const std::string& GetBaseClassName() const { return m_strBaseClassName; }
    // Whether a pointer to a type record may hold the type: any type without a base class,
    // else the base class itself and the classes the type manager knows as derived from it.
    bool AcceptsType(const KvReflectedDataType* pType) const;
    const KvReflectedArrayAccessor* GetArrayAccessor() const { return m_pArrayAccessor; }
    const std::vector<KvAttribute*>& GetAttributes() const { return m_apAttributes; }

    // A mask lookup: walks over whole trees ask this of every pointer member they pass.
    bool HasAttribute(eAttributeKind kind) const { return (m_ulAttributeKinds >> kind) & 1; }
    // A pointer to a type record ("m_pDataType"): shared, never followed.
    bool IsTypeRecordPointer() const { return m_bTypeRecord; }
    // A pointer (or array of pointers) whose targets this object frees, copies and saves:
    // neither a cross-reference, a parent link nor a type record.
    bool IsOwningPointer() const
    {
        return !m_bTypeRecord && !HasAttribute(ATTRIBUTE_XREF) &&
               !HasAttribute(ATTRIBUTE_MEMBER_DATA_NOT_OWNED);
    }
    // The member's storage inside an object.
    void* GetAddress(void* pObject) const { return static_cast<uint8_t*>(pObject) + m_uiOffset; }
    const void* GetAddress(const void* pObject) const
    {
        return static_cast<const uint8_t*>(pObject) + m_uiOffset;
    }

private:
    friend class KvReflectedDataTypeBuilder;

    std::string m_strName;
    eReflectedPrimitiveType m_eKind;
    eReflectedValueType m_eValueType = VALUE_NONE;
    uint32_t m_uiOffset;
    uint32_t m_uiWidth;
    eReflectedPrimitiveType m_eElementKind = PRIMITIVE_NONE;
    const KvReflectedDataType* m_pElementType = nullptr;
    const KvReflectedDataType* m_pPointeeType = nullptr;
    bool m_bTypeRecord = false;
    const KvEnumConverterBase* m_pEnumConverter = nullptr;
    std::string m_strDynamicTypeMember;
    std::string m_strBaseClassName;
    KvReflectedArrayAccessor* m_pArrayAccessor = nullptr;
    std::vector<KvAttribute*> m_apAttributes;
    // Bit k set when an attribute of kind k is in m_apAttributes.
    uint64_t m_ulAttributeKinds = 0;
};
