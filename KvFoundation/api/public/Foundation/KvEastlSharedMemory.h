#pragma once

#include "Foundation/KvAutoSingleton_ProcessShared.h"

#include <cstdint>

class KvEastlSharedMemory;
KV_DECLARE_SHARED_TYPE(KvEastlSharedMemory, "KvEastlSharedMemory", "instance", "class KvEastlSharedMemory");

// Owns the one zeroed 4-byte block that every empty string of every module points at.
class KvEastlSharedMemory : public KvAutoSingleton_ProcessShared<KvEastlSharedMemory>
{
public:
    KvEastlSharedMemory() = default;
    virtual ~KvEastlSharedMemory() = default;

    virtual const uint8_t* GetEmptyBlock() const { return m_aucEmptyBlock; }

    // The process-wide empty-string block; creates and publishes the owner when needed.
    static const uint8_t* GetSharedEmptyBlock() { return GetInstance()->GetEmptyBlock(); }

private:
    uint8_t m_aucEmptyBlock[4] = {0, 0, 0, 0};
};
