#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceDescriptor.h"

class KvTypeInfo;

// The constant facts of one resource type, as the descriptor table gives them.
struct tResourceTypeInfo
{
    const char* m_TypeName;
    const char* m_ShortName;
    KvTypeInfo* (*m_pfnResourceClass)();
    const KvReflectedDataType* (*m_pfnRootDataType)();
    // Null for types without a payload.
    const KvReflectedDataType* (*m_pfnPayloadDataType)();
    // Declares every data class of the kind (the root and payload included).
    void (*m_pfnDeclareDataTypes)();
    // Negative: the host's load order.
    int m_iLoadOrder;
    bool m_aQueries[5];
};

// A descriptor of the plug-in: building it declares the kind's data types and caches the root.
class KV_PLUGIN_CORE_API KvResourceDescriptor_Core : public KvResourceDescriptor
{
public:
    explicit KvResourceDescriptor_Core(const tResourceTypeInfo& info);

    const char* GetTypeName() const override { return m_Info.m_TypeName; }
    const char* GetShortName() const override { return m_Info.m_ShortName; }
    KvTypeInfo* GetResourceClass() const override { return m_Info.m_pfnResourceClass(); }
    const KvReflectedDataType* GetRootDataType() const override { return m_pRootDataType; }
    const KvReflectedDataType* GetPayloadDataType() const override
    {
        return m_Info.m_pfnPayloadDataType ? m_Info.m_pfnPayloadDataType() : nullptr;
    }
    bool GetQuery1() const override { return m_Info.m_aQueries[0]; }
    bool GetQuery2() const override { return m_Info.m_aQueries[1]; }
    bool GetQuery3() const override { return m_Info.m_aQueries[2]; }
    eResourceLoadOrder GetLoadOrder() const override;
    uint32_t GetIntegerQuery() const override { return 2; }
    bool GetQuery4() const override { return m_Info.m_aQueries[3]; }
    bool GetQuery5() const override { return m_Info.m_aQueries[4]; }

private:
    const tResourceTypeInfo& m_Info;
    const KvReflectedDataType* m_pRootDataType;
};
