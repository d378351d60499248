#pragma once

#include "KvResourceCommonExport.h"

#include <cstdint>

// Builds a resource's run-time state from its raw data when the resource is bound. The
// host owns binders.
class KV_RESOURCECOMMON_API KvResourceBinder
{
public:
    virtual ~KvResourceBinder() = default;
    // The first two arguments are the host's binding context; the result is the host's
    // binding state code.
    virtual uint32_t Bind(void* pContext, void* pTarget, void* pRawData) = 0;
    // The state code of a binder that has nothing more to do.
    virtual uint32_t GetIdleState() const = 0;
};
