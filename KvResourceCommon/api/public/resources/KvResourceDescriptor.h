#pragma once

#include "KvResourceCommonExport.h"

#include <cstdint>
#include <string>

class KvReflectedDataType;
class KvTypeInfo;

// When the host loads a type's resources relative to others: lower values first.
enum eResourceLoadOrder : uint32_t
{
    RESOURCE_LOAD_ORDER_FIRST = 0,
    RESOURCE_LOAD_ORDER_EARLY = 1,
    RESOURCE_LOAD_ORDER_DEFAULT = 2,
};

// Describes one resource type to the host. Exactly one static descriptor exists per type;
// the host keeps its address.
class KV_RESOURCECOMMON_API KvResourceDescriptor
{
public:
    KvResourceDescriptor() = default;
    virtual ~KvResourceDescriptor() = default;

    // A stable identifier derived from the type name (FNV-1a, 32-bit).
    virtual uint32_t GetUniqueIdentifier() const;
    virtual const char* GetTypeName() const = 0;
    // Lower case, no blanks: the file suffix of the type's saved resources.
    virtual const char* GetShortName() const = 0;
    virtual KvTypeInfo* GetResourceClass() const = 0;
    virtual const KvReflectedDataType* GetRootDataType() const = 0;
    // Null for types without a payload.
    virtual const KvReflectedDataType* GetPayloadDataType() const = 0;
    virtual bool GetQuery1() const = 0;
    virtual bool GetQuery2() const = 0;
    virtual bool GetQuery3() const = 0;
    virtual eResourceLoadOrder GetLoadOrder() const { return RESOURCE_LOAD_ORDER_DEFAULT; }
    virtual uint32_t GetIntegerQuery() const = 0;
    virtual bool GetQuery4() const = 0;
    virtual bool GetQuery5() const = 0;

protected:
    // Set to all ones by every descriptor of the plug-in.
    uint32_t m_ulHostValue = 0xFFFFFFFF;
};
