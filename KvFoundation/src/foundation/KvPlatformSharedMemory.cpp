#include "src/foundation/KvPlatformSharedMemory.h"

#include "src/foundation/KvPlatformProcess.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace KvPlatform
{
namespace
{
constexpr const char* kObjectPrefix = "KvShm.";
// Longest POSIX object name we build, the leading '/' included.
constexpr size_t kMaxObjectName = 250;

// State of this module's copy of the layer. Never destroyed: exit handlers still use it.
struct ModuleState
{
    uint32_t m_uiProcessId = 0;
    uint64_t m_ulStartTime = 0;
    bool m_bSwept = false;
    bool m_bHandlersInstalled = false;
    std::vector<std::string> m_aCreatedNames;
    std::unordered_map<void*, uint32_t> m_OpenViews;
};

ModuleState& GetState()
{
    static ModuleState* s_pState = new ModuleState();
    // A forked child is a new process instance: it owns nothing it inherited.
    const uint32_t processId = GetProcessId();
    if (s_pState->m_uiProcessId != processId)
    {
        s_pState->m_uiProcessId = processId;
        s_pState->m_ulStartTime = 0;
        GetProcessStartTime(processId, s_pState->m_ulStartTime);
        s_pState->m_bSwept = false;
        s_pState->m_aCreatedNames.clear();
    }
    return *s_pState;
}

std::string SanitizeName(const char* name)
{
    std::string result(name);
    for (char& c : result)
    {
        if (c == '/')
            c = '_';
    }
    return result;
}

// A forked child must not write into its parent's blocks: each inherited view is replaced by
// a private copy, as a new process on Windows would not share the parent's mappings.
void PrivatizeViewsInChild()
{
    for (const auto& [pView, size] : GetState().m_OpenViews)
    {
        std::vector<uint8_t> contents(static_cast<const uint8_t*>(pView),
                                      static_cast<const uint8_t*>(pView) + size);
        if (mmap(pView, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
            MAP_FAILED)
            std::memcpy(pView, contents.data(), size);
    }
}

void RemoveBlocksAtExit()
{
    ModuleState& state = GetState();
    for (const std::string& objectName : state.m_aCreatedNames)
        shm_unlink(objectName.c_str());
    state.m_aCreatedNames.clear();
    SweepStaleSharedMemory();
}

void InstallHandlers(ModuleState& state)
{
    if (state.m_bHandlersInstalled)
        return;
    state.m_bHandlersInstalled = true;
    pthread_atfork(nullptr, nullptr, &PrivatizeViewsInChild);
    std::atexit(&RemoveBlocksAtExit);
}

bool ParseObjectName(const char* entry, uint32_t& outProcessId, uint64_t& outStartTime)
{
    const size_t prefixLength = std::strlen(kObjectPrefix);
    if (std::strncmp(entry, kObjectPrefix, prefixLength) != 0)
        return false;
    char* pEnd = nullptr;
    outProcessId = static_cast<uint32_t>(std::strtoul(entry + prefixLength, &pEnd, 10));
    if (*pEnd != '.')
        return false;
    outStartTime = std::strtoull(pEnd + 1, &pEnd, 10);
    return *pEnd == '.';
}
} // namespace

std::string GetSharedMemoryObjectName(const char* name)
{
    const ModuleState& state = GetState();
    std::string objectName = std::string("/") + kObjectPrefix + std::to_string(state.m_uiProcessId) + "." +
                             std::to_string(state.m_ulStartTime) + ".";
    const std::string sanitized = SanitizeName(name);
    if (objectName.size() + sanitized.size() <= kMaxObjectName)
        return objectName + sanitized;
    // Too long for the file system: a 64-bit FNV-1a hash keeps the name unique enough.
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : sanitized)
        hash = (hash ^ c) * 1099511628211ull;
    return objectName + "h" + std::to_string(hash);
}

void SweepStaleSharedMemory()
{
    DIR* pDirectory = opendir("/dev/shm");
    if (!pDirectory)
        return;
    std::vector<std::string> stale;
    while (const dirent* pEntry = readdir(pDirectory))
    {
        uint32_t processId = 0;
        uint64_t startTime = 0;
        if (!ParseObjectName(pEntry->d_name, processId, startTime))
            continue;
        uint64_t liveStartTime = 0;
        if (!GetProcessStartTime(processId, liveStartTime) || liveStartTime != startTime)
            stale.push_back(std::string("/") + pEntry->d_name);
    }
    closedir(pDirectory);
    for (const std::string& objectName : stale)
        shm_unlink(objectName.c_str());
}

bool OpenOrCreateSharedMemory(const char* name, uint32_t size, SharedMemoryBlock& outBlock)
{
    ModuleState& state = GetState();
    if (!state.m_bSwept)
    {
        state.m_bSwept = true;
        SweepStaleSharedMemory();
    }
    const std::string objectName = GetSharedMemoryObjectName(name);

    outBlock = SharedMemoryBlock();
    outBlock.m_iHandle = shm_open(objectName.c_str(), O_RDWR, 0600);
    if (outBlock.m_iHandle < 0)
    {
        outBlock.m_iHandle = shm_open(objectName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        if (outBlock.m_iHandle < 0)
            return false;
        outBlock.m_bCreated = true;
        state.m_aCreatedNames.push_back(objectName);
        InstallHandlers(state);
    }

    struct stat info = {};
    if (fstat(outBlock.m_iHandle, &info) != 0 ||
        (info.st_size < static_cast<off_t>(size) && ftruncate(outBlock.m_iHandle, size) != 0))
    {
        CloseSharedMemory(outBlock.m_iHandle, nullptr, size);
        return false;
    }

    void* pView = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, outBlock.m_iHandle, 0);
    if (pView == MAP_FAILED)
    {
        CloseSharedMemory(outBlock.m_iHandle, nullptr, size);
        return false;
    }
    outBlock.m_pView = pView;
    state.m_OpenViews.emplace(pView, size);
    InstallHandlers(state);
    return true;
}

void CloseSharedMemory(int handle, void* pView, uint32_t size)
{
    if (pView)
    {
        GetState().m_OpenViews.erase(pView);
        munmap(pView, size);
    }
    if (handle >= 0)
        close(handle);
}
} // namespace KvPlatform
