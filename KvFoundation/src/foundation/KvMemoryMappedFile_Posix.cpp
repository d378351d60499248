#include "Foundation/KvMemoryMappedFile.h"

#include "Foundation/KvReport.h"
#include "Foundation/KvSharedMemoryPtr.h"
#include "src/foundation/KvPlatformSharedMemory.h"

namespace
{
// Every shared block holds one pointer.
constexpr uint32_t kSharedBlockSize = 8;
} // namespace

KvMemoryMappedFile_SharedMemory::KvMemoryMappedFile_SharedMemory(bool bCreated, uint32_t uiSize, int iHandle,
                                                                 void* pView)
    : m_bCreated(bCreated), m_uiSize(uiSize), m_iHandle(iHandle), m_pView(pView)
{
}

KvMemoryMappedFile_SharedMemory::~KvMemoryMappedFile_SharedMemory()
{
    KvPlatform::CloseSharedMemory(m_iHandle, m_pView, m_uiSize);
}

void* KvMemoryMappedFile_SharedMemory::GetData() const
{
    if (!m_pView)
        KvFatalReport(
            {"kvfoundation\\src\\foundation\\KvMemoryMappedFile_Win32",
             "KvMemoryMappedFile_SharedMemory::GetData", 69},
            "Shared memory is no longer valid due to a write commit error. Is this a case we need to "
            "support?");
    return m_pView;
}

KvMemoryMappedFile_SharedMemory* KvMemoryMappedFile_SharedMemory::CreateShared(const char* name)
{
    KvPlatform::SharedMemoryBlock block;
    if (!KvPlatform::OpenOrCreateSharedMemory(name, kSharedBlockSize, block))
        return nullptr;
    return new KvMemoryMappedFile_SharedMemory(block.m_bCreated, kSharedBlockSize, block.m_iHandle,
                                               block.m_pView);
}

std::string KvFormatSharedMemoryName(const char* typeName, const char* instanceName, uint32_t processId)
{
    std::string name = KvFormatMessage("KvSharedMemoryPtr_%s_%s_pid%u", typeName, instanceName, processId);
    if (name.size() > kKvSharedMemoryNameCapacity)
        name.resize(kKvSharedMemoryNameCapacity);
    return name;
}
