#include "src/foundation/KvPlatformSharedMemory.h"

#include "src/foundation/KvPlatformProcess.h"

#include <cerrno>
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
// Names read "KvShm.ns<namespace>.<pid>.<start time>.<block>". The tag makes the sweep of an
// older build, which reads "KvShm.<pid>.<start time>.", skip them instead of taking the
// namespace for a dead pid.
constexpr const char* kNamespaceTag = "ns";
// Longest POSIX object name we build, the leading '/' included.
constexpr size_t kMaxObjectName = 250;

// A view this module mapped: the block it shows and the handle that came with it.
struct OpenView
{
    std::string m_strBlockName;
    uint32_t m_uiSize;
    int m_iHandle;
};

// State of this module's copy of the layer. Never destroyed: exit handlers still use it.
struct ModuleState
{
    uint64_t m_ulPidNamespace = 0;
    uint32_t m_uiProcessId = 0;
    uint64_t m_ulStartTime = 0;
    bool m_bSwept = false;
    std::vector<std::string> m_aCreatedNames;
    std::unordered_map<void*, OpenView> m_OpenViews;
};

void AdoptInheritedViews();
void RemoveBlocksAtExit();

void IdentifyProcess(ModuleState& state)
{
    state.m_ulPidNamespace = GetPidNamespaceId();
    state.m_uiProcessId = GetProcessId();
    state.m_ulStartTime = 0;
    GetProcessStartTime(state.m_uiProcessId, state.m_ulStartTime);
}

ModuleState& GetState()
{
    static ModuleState* s_pState = []
    {
        auto* pState = new ModuleState();
        IdentifyProcess(*pState);
        pthread_atfork(nullptr, nullptr, &AdoptInheritedViews);
        std::atexit(&RemoveBlocksAtExit);
        return pState;
    }();
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

// Whether an existing object is one this process made: its owner is this user, nobody else
// may use it, and it has the size this process gave it.
bool IsOwnObject(int handle, uint32_t size)
{
    struct stat info = {};
    return fstat(handle, &info) == 0 && info.st_uid == geteuid() &&
           (info.st_mode & (S_IRWXG | S_IRWXO)) == 0 && info.st_size == static_cast<off_t>(size);
}

// Opens the named object, or creates it zeroed with owner-only access. The handle is valid
// only when Ready.
SharedMemoryStatus OpenOrCreateObject(ModuleState& state, const std::string& objectName, uint32_t size,
                                      int& outHandle, bool& outCreated)
{
    outCreated = false;
    outHandle = shm_open(objectName.c_str(), O_RDWR, 0);
    if (outHandle >= 0)
    {
        if (IsOwnObject(outHandle, size))
            return SharedMemoryStatus::Ready;
        close(outHandle);
        return SharedMemoryStatus::Foreign;
    }
    if (errno != ENOENT)
        return errno == EACCES ? SharedMemoryStatus::Foreign : SharedMemoryStatus::Failed;
    outHandle = shm_open(objectName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (outHandle < 0)
        return errno == EEXIST ? SharedMemoryStatus::Foreign : SharedMemoryStatus::Failed;
    state.m_aCreatedNames.push_back(objectName);
    // The umask may have cleared owner bits too; the mode must be exactly 0600.
    if (fchmod(outHandle, 0600) != 0 || ftruncate(outHandle, size) != 0)
    {
        close(outHandle);
        return SharedMemoryStatus::Failed;
    }
    outCreated = true;
    return SharedMemoryStatus::Ready;
}

// Moves an inherited view onto the child's own block of the same name, holding what the
// view held. Another module of the child may have made that block already.
bool MoveViewToOwnBlock(ModuleState& state, void* pView, const OpenView& view)
{
    int handle = -1;
    bool bCreated = false;
    if (OpenOrCreateObject(state, GetSharedMemoryObjectName(view.m_strBlockName.c_str()), view.m_uiSize,
                           handle, bCreated) != SharedMemoryStatus::Ready)
        return false;
    const bool bMoved =
        (!bCreated || pwrite(handle, pView, view.m_uiSize, 0) == static_cast<ssize_t>(view.m_uiSize)) &&
        mmap(pView, view.m_uiSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED, handle, 0) != MAP_FAILED &&
        dup3(handle, view.m_iHandle, O_CLOEXEC) >= 0;
    close(handle);
    return bMoved;
}

// Last resort for a view that cannot move: a private copy, so the child still never writes
// into its parent's block.
void PrivatizeView(void* pView, uint32_t size)
{
    std::vector<uint8_t> contents(static_cast<const uint8_t*>(pView),
                                  static_cast<const uint8_t*>(pView) + size);
    if (mmap(pView, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
        MAP_FAILED)
        std::memcpy(pView, contents.data(), size);
}

// Runs in a forked child. The child is a process instance of its own, so it may not write
// into its parent's blocks; yet the objects it inherited are its process-wide objects, and a
// module it loads later must find them. Each inherited view is therefore moved onto a block
// under the child's name that holds what the parent's block held.
void AdoptInheritedViews()
{
    ModuleState& state = GetState();
    IdentifyProcess(state);
    // The parent's blocks are the parent's to remove.
    state.m_aCreatedNames.clear();
    for (const auto& [pView, view] : state.m_OpenViews)
    {
        if (!MoveViewToOwnBlock(state, pView, view))
            PrivatizeView(pView, view.m_uiSize);
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

bool ParseObjectName(const char* entry, uint64_t& outPidNamespace, uint32_t& outProcessId,
                     uint64_t& outStartTime)
{
    const size_t prefixLength = std::strlen(kObjectPrefix);
    if (std::strncmp(entry, kObjectPrefix, prefixLength) != 0)
        return false;
    const size_t tagLength = std::strlen(kNamespaceTag);
    if (std::strncmp(entry + prefixLength, kNamespaceTag, tagLength) != 0)
        return false;
    char* pEnd = nullptr;
    outPidNamespace = std::strtoull(entry + prefixLength + tagLength, &pEnd, 10);
    if (*pEnd != '.')
        return false;
    outProcessId = static_cast<uint32_t>(std::strtoul(pEnd + 1, &pEnd, 10));
    if (*pEnd != '.')
        return false;
    outStartTime = std::strtoull(pEnd + 1, &pEnd, 10);
    return *pEnd == '.';
}
} // namespace

std::string GetSharedMemoryObjectName(const char* name)
{
    const ModuleState& state = GetState();
    return FormatSharedMemoryObjectName(state.m_ulPidNamespace, state.m_uiProcessId, state.m_ulStartTime,
                                        name);
}

std::string FormatSharedMemoryObjectName(uint64_t pidNamespace, uint32_t processId, uint64_t startTime,
                                         const char* name)
{
    std::string objectName = std::string("/") + kObjectPrefix + kNamespaceTag + std::to_string(pidNamespace) +
                             "." + std::to_string(processId) + "." + std::to_string(startTime) + ".";
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
    const uint64_t ownPidNamespace = GetState().m_ulPidNamespace;
    std::vector<std::string> stale;
    while (const dirent* pEntry = readdir(pDirectory))
    {
        uint64_t pidNamespace = 0;
        uint32_t processId = 0;
        uint64_t startTime = 0;
        if (!ParseObjectName(pEntry->d_name, pidNamespace, processId, startTime) ||
            pidNamespace != ownPidNamespace)
            continue;
        uint64_t liveStartTime = 0;
        if (!GetProcessStartTime(processId, liveStartTime) || liveStartTime != startTime)
            stale.push_back(std::string("/") + pEntry->d_name);
    }
    closedir(pDirectory);
    for (const std::string& objectName : stale)
        shm_unlink(objectName.c_str());
}

SharedMemoryStatus OpenOrCreateSharedMemory(const char* name, uint32_t size, SharedMemoryBlock& outBlock)
{
    ModuleState& state = GetState();
    if (!state.m_bSwept)
    {
        state.m_bSwept = true;
        SweepStaleSharedMemory();
    }
    outBlock = SharedMemoryBlock();
    int handle = -1;
    bool bCreated = false;
    const SharedMemoryStatus status =
        OpenOrCreateObject(state, GetSharedMemoryObjectName(name), size, handle, bCreated);
    if (status != SharedMemoryStatus::Ready)
        return status;
    void* pView = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, handle, 0);
    if (pView == MAP_FAILED)
    {
        close(handle);
        return SharedMemoryStatus::Failed;
    }
    outBlock.m_iHandle = handle;
    outBlock.m_pView = pView;
    outBlock.m_bCreated = bCreated;
    state.m_OpenViews.emplace(pView, OpenView{name, size, handle});
    return SharedMemoryStatus::Ready;
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
