#include "IO/KvIOStream_Memory.h"

#include "Foundation/KvReport.h"
#include "TypeManager/KvObjectFactory.h"

#include <algorithm>
#include <cstring>

KV_IMPLEMENT_TYPED_CLASS(KvIOStream_Memory)

namespace
{
constexpr const char* kFile = "IO\\KvIOStream_Memory";
}

KvIOStream_Memory::KvIOStream_Memory(void* pBuffer, uint32_t size)
    : m_uiSize(size), m_pBuffer(static_cast<uint8_t*>(pBuffer))
{
    if (!pBuffer)
        KvFatalReport({kFile, "KvIOStream_Memory::KvIOStream_Memory", 25}, "No buffer specified");
}

int KvIOStream_Memory::Seek(uint64_t position)
{
    if (!m_pBuffer)
        KvFatalReport({kFile, "KvIOStream_Memory::Seek", 48}, "No buffer specified!");
    m_uiPosition = static_cast<uint32_t>(position);
    return 0;
}

uint32_t KvIOStream_Memory::Available(uint64_t count) const
{
    if (m_uiPosition >= m_uiSize)
        return 0;
    return static_cast<uint32_t>(std::min<uint64_t>(count, m_uiSize - m_uiPosition));
}

uint64_t KvIOStream_Memory::Read(void* pBuffer, uint64_t count)
{
    const uint32_t n = Available(count);
    if (n == 0)
        return 0;
    std::memcpy(pBuffer, m_pBuffer + m_uiPosition, n);
    m_uiPosition += n;
    return n;
}

uint64_t KvIOStream_Memory::Write(const void* pBuffer, uint64_t count)
{
    const uint32_t n = Available(count);
    if (n == 0)
        return 0;
    std::memcpy(m_pBuffer + m_uiPosition, pBuffer, n);
    m_uiPosition += n;
    return n;
}
