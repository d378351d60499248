#pragma once

#include <cstdint>
#include <string>

// Named shared memory that behaves like a Windows named file mapping: a block is found by
// name only inside the process instance that created it, and it goes away with that
// process. The POSIX object name carries the creator's PID namespace, pid and start time; blocks
// of processes of this namespace that no longer exist are swept, never read. Other namespaces'
// blocks are left alone: their pids mean nothing here, and /dev/shm may be shared with them. A forked child
// moves each view it inherited onto a block of its own with the same contents: it finds them by name, and it
// never writes into its parent's blocks.
namespace KvPlatform
{
struct SharedMemoryBlock
{
    int m_iHandle = -1;
    void* m_pView = nullptr;
    bool m_bCreated = false;
};

enum class SharedMemoryStatus
{
    Ready,
    Failed,
    // A block of that name exists that this process did not make: another user owns it,
    // others may use it, or its size is wrong. It must not be read.
    Foreign,
};

// Opens the block of this process with the given name, or creates it zeroed and accessible
// to this user only. The block is set in outBlock only when Ready.
SharedMemoryStatus OpenOrCreateSharedMemory(const char* name, uint32_t size, SharedMemoryBlock& outBlock);
// Unmaps the view (if any) and closes the handle (if valid).
void CloseSharedMemory(int handle, void* pView, uint32_t size);
// The POSIX object name behind a block name in this process.
std::string GetSharedMemoryObjectName(const char* name);
// The POSIX object name behind a block name in the process of that identity.
std::string FormatSharedMemoryObjectName(uint64_t pidNamespace, uint32_t processId, uint64_t startTime,
                                         const char* name);
// Removes the blocks of processes of this PID namespace that no longer exist.
void SweepStaleSharedMemory();
} // namespace KvPlatform
