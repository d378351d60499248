#pragma once

#include "KvResourceCommonExport.h"
#include "TypeManager/KvTypedObject.h"
#include "resources/KvResourceQueryInterface.h"

#include <cstdint>
#include <string>

class KvIOStream;
class KvReflectedDataType;
class KvResourceDescriptor;

// One loaded resource: its name (the source path below the source root, "\\" separated,
// as the importer converted it), its raw data and its payload. The resource owns both and
// releases them by their descriptor's schemas.
class KV_RESOURCECOMMON_API KvResource : public KvTypedObject
{
    KV_DECLARE_TYPED_CLASS(KvResource, KvTypedObject)

public:
    KvResource() = default;
    ~KvResource() override;

    KvResource(const KvResource&) = delete;
    KvResource& operator=(const KvResource&) = delete;

    const std::string& GetName() const { return m_strName; }
    void SetName(const std::string& name) { m_strName = name; }
    const KvResourceDescriptor* GetDescriptor() const { return m_pDescriptor; }
    void SetDescriptor(const KvResourceDescriptor* pDescriptor) { m_pDescriptor = pDescriptor; }
    void* GetRawData() const { return m_pRawData; }
    void* GetPayload() const { return m_pPayload; }

    // The host's services for this resource; shared by all resources of the process.
    KvResourceQueryInterface* GetResourceInterface() const;

    virtual void OnLoadPhase(uint32_t phase);
    virtual void OnUnloadPhase(uint32_t phase);
    // Writes nothing by default: resources are saved through the JSON store.
    virtual bool SaveToStream(KvIOStream& stream);
    // Takes ownership of the raw data (releasing what was bound before) and fills the members
    // that carry SetFromResourceName, SetResourceHandle and SetPayloadHandle.
    virtual void BindRawData(void* pRawData, uint32_t platform, bool bFlag);
    // Takes ownership of the payload and fills the raw data's payload handles.
    virtual void BindPayloadData(void* pPayload, uint32_t platform);

    // Declares the host's own reflected types; safe to call more than once.
    static void BindDataTypes();
    // The record of resource handles in schemas.
    static const KvReflectedDataType* GetReflectedDataType();

private:
    void ReleaseRawData();
    void ReleasePayload();

    std::string m_strName;
    const KvResourceDescriptor* m_pDescriptor = nullptr;
    void* m_pRawData = nullptr;
    void* m_pPayload = nullptr;
};
