#pragma once

#include "KvResourceCommonExport.h"

#include <cstdint>

class KvIOStream;
class KvResourceDescriptor;

// Turns a resource's raw data into the form a platform loads. The host owns cookers.
class KV_RESOURCECOMMON_API KvResourceCooker
{
public:
    virtual ~KvResourceCooker() = default;
    virtual const KvResourceDescriptor* GetResourceType() const = 0;
    // Writes the cooked form of raw data for a platform; false when it cannot.
    virtual bool Cook(const void* pRawData, uint32_t platform, KvIOStream& output) = 0;
};

// Cooks data unchanged: the cooked form is the raw data's JSON text.
class KV_RESOURCECOMMON_API KvResourceCooker_Passthrough : public KvResourceCooker
{
public:
    explicit KvResourceCooker_Passthrough(const KvResourceDescriptor* pDescriptor)
        : m_pDescriptor(pDescriptor)
    {
    }
    const KvResourceDescriptor* GetResourceType() const override { return m_pDescriptor; }
    bool Cook(const void* pRawData, uint32_t platform, KvIOStream& output) override;

private:
    const KvResourceDescriptor* m_pDescriptor;
};
