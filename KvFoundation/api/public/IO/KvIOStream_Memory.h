#pragma once

#include "IO/KvIOStream.h"

// A stream over a caller-owned buffer that never grows: reads and writes stop at its end.
class KvIOStream_Memory : public KvIOStream
{
    KV_DECLARE_TYPED_CLASS(KvIOStream_Memory, KvIOStream)

public:
    // A stream made by name holds no buffer: it reads and writes nothing and cannot seek.
    KvIOStream_Memory() = default;
    // The buffer stays the caller's; a null buffer is fatal.
    KvIOStream_Memory(void* pBuffer, uint32_t size);

    bool Open(const char*, uint32_t) override { return true; }
    void Close() override {}
    bool IsEOF() override { return m_uiPosition >= m_uiSize; }
    // Sets the position without a bound check (reads past the end transfer nothing); fatal
    // without a buffer.
    int Seek(uint64_t position) override;
    uint64_t Read(void* pBuffer, uint64_t count) override;
    uint64_t Write(const void* pBuffer, uint64_t count) override;
    uint64_t GetSize() override { return m_uiSize; }
    uint64_t Tell() override { return m_uiPosition; }
    const char* GetName() override { return "KvIOStream_Memory"; }

private:
    // Bytes that can move at the position: the smaller of the request and what is left.
    uint32_t Available(uint64_t count) const;

    uint32_t m_uiPosition = 0;
    uint32_t m_uiSize = 0;
    uint8_t* m_pBuffer = nullptr;
};
