#pragma once

#include "IO/KvIOStream.h"

#include <cstdio>
#include <string>

// A stream over an operating-system file, opened in byte mode. Paths are 8-bit (UTF-8) and
// may use "\\" separators.
class KvIOStream_File : public KvIOStream
{
    KV_DECLARE_TYPED_CLASS(KvIOStream_File, KvIOStream)

public:
    KvIOStream_File() = default;
    ~KvIOStream_File() override;

    KvIOStream_File(const KvIOStream_File&) = delete;
    KvIOStream_File& operator=(const KvIOStream_File&) = delete;

    // Mode 0 reads, 1 writes (truncating), anything else appends. False for an empty path, a
    // file that cannot be opened and anything but a regular file (a folder, FIFO or device,
    // refused without blocking); fatal when the stream is already open.
    bool Open(const char* path, uint32_t mode) override;
    // Fatal when the stream is not open.
    void Close() override;
    // Both fatal when the stream is not open.
    bool IsEOF() override;
    int Seek(uint64_t position) override;
    // Without an open file nothing moves.
    uint64_t Read(void* pBuffer, uint64_t count) override;
    uint64_t Write(const void* pBuffer, uint64_t count) override;
    // Measured when the file was opened.
    uint64_t GetSize() override { return m_ulSize; }
    uint64_t Tell() override;
    const char* GetName() override { return m_strFileName.c_str(); }

private:
    std::string m_strFileName;
    FILE* m_pFile = nullptr;
    uint64_t m_ulSize = 0;
};
