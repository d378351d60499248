#pragma once

#include "KvResourcePlugin_CoreExport.h"

#include <cstdint>
#include <string>
#include <vector>

class KvIOStream;

// Reads chunked binary files: an 8-byte file header, then nested tagged chunks, each closed
// by an end marker repeating its depth and id; a depth of -1 ends a chunk list. Every
// inconsistency is fatal; so is a string or chunk that claims more bytes than the stream holds.
class KV_PLUGIN_CORE_API KvChunkFileWrapper
{
public:
    // Accepts any chunk id in PushChunk.
    static constexpr uint32_t kAnyChunk = 0xFFFFFFFF;

    // Reads the 8-byte file header; the stream stays the caller's.
    explicit KvChunkFileWrapper(KvIOStream* pStream);
    // Fatal while chunks are open; the fatal routine may be set to raise, so this may throw.
    ~KvChunkFileWrapper() noexcept(false);

    KvChunkFileWrapper(const KvChunkFileWrapper&) = delete;
    KvChunkFileWrapper& operator=(const KvChunkFileWrapper&) = delete;

    uint32_t ReadInt();
    uint8_t ReadChar();
    float ReadFloat();
    // A 32-bit length then that many bytes; 0xFFFFFFFF is the empty string.
    void ReadString(std::string& out);
    // Skips bytes from the current position.
    void Skip(uint64_t count);

    // Opens the next chunk with the id (skipping others); false when the list ends first.
    bool PushChunk(uint32_t id);
    // Closes the innermost chunk and moves past its end marker.
    bool PopChunk();

    KvIOStream* GetStream() const { return m_pStream; }
    // Whether a read or skip ran off the end of the data (what it read there was zeros).
    bool IsPastEnd() const { return m_bRanOffTheEnd; }

private:
    struct tChunk
    {
        uint32_t m_ulId;
        uint32_t m_ulStart;
        uint32_t m_ulLength;
    };

    uint64_t Remaining() const;
    // Reads exactly count bytes, or notes that the data ran out (the rest stays zero).
    void ReadBytes(void* pBuffer, uint64_t count);
    // Moves to an absolute position; a position past the end stops at the end, noted.
    void MoveTo(uint64_t position);

    std::vector<tChunk> m_aChunkStack;
    KvIOStream* m_pStream;
    bool m_bRanOffTheEnd = false;
};
