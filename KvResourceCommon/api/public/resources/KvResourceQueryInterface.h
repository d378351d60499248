#pragma once

#include "KvResourceCommonExport.h"

#include <cstdint>
#include <functional>

class KvResource;

// What a resource may ask of the host while it is in use.
class KV_RESOURCECOMMON_API KvResourceQueryInterface
{
public:
    // Loads a resource's payload: binds it to the resource, or leaves the resource without.
    using PayloadLoader = std::function<void(KvResource& resource, uint32_t platform)>;

    virtual ~KvResourceQueryInterface() = default;

    // Asks for the payload of a resource; a loaded payload is bound through
    // KvResource::BindPayloadData. Without a loader, or when the payload is already there,
    // nothing happens. The host loads synchronously whatever bAsync asks.
    virtual void RequestPayload(KvResource* pResource, uint32_t platform, bool bAsync, bool bHighPriority);

    void SetPayloadLoader(PayloadLoader loader) { m_PayloadLoader = std::move(loader); }

private:
    PayloadLoader m_PayloadLoader;
};
