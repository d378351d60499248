#include "importers/KvChunkFileWrapper.h"

#include "Foundation/KvReport.h"
#include "IO/KvIOStream.h"

#include <bit>
#include <exception>

KvChunkFileWrapper::KvChunkFileWrapper(KvIOStream* pStream) : m_pStream(pStream)
{
    ReadInt();
    ReadInt();
}

KvChunkFileWrapper::~KvChunkFileWrapper() noexcept(false)
{
    // While a fatal error unwinds through a reader, its open chunks are no further news.
    if (!m_aChunkStack.empty() && std::uncaught_exceptions() == 0)
        KvFatalReport(KV_REPORT_SITE, "Chunks were still open on the stack!");
}

uint64_t KvChunkFileWrapper::Remaining() const
{
    const uint64_t size = m_pStream->GetSize();
    const uint64_t position = m_pStream->Tell();
    return size > position ? size - position : 0;
}

void KvChunkFileWrapper::ReadBytes(void* pBuffer, uint64_t count)
{
    if (m_pStream->Read(pBuffer, count) != count)
        m_bRanOffTheEnd = true;
}

void KvChunkFileWrapper::MoveTo(uint64_t position)
{
    // Streams keep 32-bit positions; a far seek must not wrap around to an earlier place.
    if (position > m_pStream->GetSize())
    {
        m_bRanOffTheEnd = true;
        position = m_pStream->GetSize();
    }
    m_pStream->Seek(position);
}

uint32_t KvChunkFileWrapper::ReadInt()
{
    uint8_t bytes[4] = {};
    ReadBytes(bytes, sizeof(bytes));
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

uint8_t KvChunkFileWrapper::ReadChar()
{
    uint8_t value = 0;
    ReadBytes(&value, 1);
    return value;
}

float KvChunkFileWrapper::ReadFloat()
{
    return std::bit_cast<float>(ReadInt());
}

void KvChunkFileWrapper::ReadString(std::string& out)
{
    const uint32_t length = ReadInt();
    if (length == 0xFFFFFFFF)
    {
        out.clear();
        return;
    }
    // The length comes from the file: it is trusted only as far as the stream reaches.
    if (length > Remaining())
        KvFatalReport(KV_REPORT_SITE, "String runs past the end of the data");
    out.resize(length);
    ReadBytes(out.data(), length);
}

void KvChunkFileWrapper::Skip(uint64_t count)
{
    MoveTo(m_pStream->Tell() + count);
}

bool KvChunkFileWrapper::PushChunk(uint32_t id)
{
    int32_t depth = static_cast<int32_t>(ReadInt());
    while (depth != -1)
    {
        if (depth != static_cast<int32_t>(m_aChunkStack.size()))
            KvFatalReport(KV_REPORT_SITE, "Chunk stack corruption! - wrong stack depth");
        const uint32_t chunkId = ReadInt();
        const uint32_t length = ReadInt();
        m_aChunkStack.push_back({chunkId, static_cast<uint32_t>(m_pStream->Tell()), length});
        if (id == kAnyChunk || id == chunkId)
            return true;
        PopChunk();
        // Past the end nothing is left to find; the zeros there would read as a chunk at depth 0.
        if (Remaining() == 0)
            return false;
        depth = static_cast<int32_t>(ReadInt());
    }
    return false;
}

bool KvChunkFileWrapper::PopChunk()
{
    if (m_aChunkStack.empty())
        KvFatalReport(KV_REPORT_SITE, "Internal error - no chunk on stack");
    const tChunk chunk = m_aChunkStack.back();
    const uint64_t end = uint64_t(chunk.m_ulStart) + chunk.m_ulLength;
    if (m_pStream->Tell() != end)
        MoveTo(end);
    m_aChunkStack.pop_back();
    const int32_t depth = static_cast<int32_t>(ReadInt());
    const uint32_t id = ReadInt();
    if (depth != static_cast<int32_t>(m_aChunkStack.size()))
        KvFatalReport(KV_REPORT_SITE, "Chunk stack corruption! - wrong stack depth");
    if (id != chunk.m_ulId)
        KvFatalReport(KV_REPORT_SITE, "Chunk stack corruption! - wrong chunk id for end");
    return true;
}
