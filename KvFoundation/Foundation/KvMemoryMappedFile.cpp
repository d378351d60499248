#include "Foundation/KvMemoryMappedFile.h"

#include "Foundation/KvReport.h"
#include "Foundation/KvSharedMemoryPtr.h"
#include "src/foundation/KvPlatformProcess.h"
#include "src/foundation/KvPlatformSharedMemory.h"

namespace
{
// Every shared block holds one pointer.
constexpr uint32_t kSharedBlockSize = 8;

// The platform's object name already names the process instance, and a forked child must
// find the blocks it inherited under its own process id: so the id that ends a block name
// is left out of the platform name.
std::string PlatformBlockName(const char* name)
{
    const std::string ownIdSuffix = "_pid" + std::to_string(KvPlatform::GetProcessId());
    std::string result(name);
    if (result.ends_with(ownIdSuffix))
        result.resize(result.size() - ownIdSuffix.size());
    return result;
}
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
    switch (KvPlatform::OpenOrCreateSharedMemory(PlatformBlockName(name).c_str(), kSharedBlockSize, block))
    {
    case KvPlatform::SharedMemoryStatus::Ready:
        break;
    case KvPlatform::SharedMemoryStatus::Failed:
        return nullptr;
    case KvPlatform::SharedMemoryStatus::Foreign:
        // Someone else may have planted the block, with any address in it.
        KvFatalReport(
            KV_REPORT_SITE,
            "Shared memory block '%s' was not made by this process (another owner, access for others "
            "or a wrong size); it is not used.",
            name);
    }
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
