#pragma once

#include "KvResourceCommonExport.h"

#include <cstdint>

class KvReflectedDataType;

// A run-time object a binder made, with the reflected type that describes it.
struct KvBoundObject
{
    const void* m_pObject = nullptr;
    const KvReflectedDataType* m_pType = nullptr;
};

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
    // What the last Bind of this raw data made, for tools that show it; none by default.
    virtual KvBoundObject GetBoundObject(const void* pRawData) const;
};
