#pragma once

#include "TypeManager/KvTypedObject.h"

#include <cstdint>

// A byte stream handed to importers and cookers. Sizes and positions are 64-bit.
class KvIOStream : public KvTypedObject
{
    KV_DECLARE_TYPED_CLASS(KvIOStream, KvTypedObject)

public:
    enum tMode : uint32_t
    {
        MODE_READ = 0,
        MODE_WRITE = 1,
        MODE_APPEND = 2,
    };

    virtual bool Open(const char* path, uint32_t mode) = 0;
    virtual void Close() = 0;
    virtual bool IsEOF() = 0;
    // Absolute position from the start; 0 on success.
    virtual int Seek(uint64_t position) = 0;
    // The count actually transferred.
    virtual uint64_t Read(void* pBuffer, uint64_t count) = 0;
    virtual uint64_t Write(const void* pBuffer, uint64_t count) = 0;
    virtual uint64_t GetSize() = 0;
    virtual uint64_t Tell() = 0;
    virtual const char* GetName() = 0;
};
