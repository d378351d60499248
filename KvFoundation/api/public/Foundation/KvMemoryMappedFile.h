#pragma once

#include <cstdint>

class KvMemoryMappedFile
{
public:
    virtual ~KvMemoryMappedFile() = default;
};

// A view of a named, process-wide block of memory. The block's name dies with the process
// that created it; see the platform layer for how that is kept true on POSIX.
class KvMemoryMappedFile_SharedMemory : public KvMemoryMappedFile
{
public:
    // Takes ownership of the handle and the view (either may be invalid: -1 / null).
    KvMemoryMappedFile_SharedMemory(bool bCreated, uint32_t uiSize, int iHandle, void* pView);
    ~KvMemoryMappedFile_SharedMemory() override;

    KvMemoryMappedFile_SharedMemory(const KvMemoryMappedFile_SharedMemory&) = delete;
    KvMemoryMappedFile_SharedMemory& operator=(const KvMemoryMappedFile_SharedMemory&) = delete;

    virtual uint32_t GetSize() const { return m_uiSize; }
    // The view; fatal when the view is gone.
    virtual void* GetData() const;
    // True when this module created the block rather than opening an existing one.
    virtual bool IsCreated() const { return m_bCreated; }

    // Opens the named block, or creates it (8 bytes, zeroed) when no process module has
    // yet. Null when neither works; fatal when a block of that name exists that this process
    // did not make (another owner, open to others, or the wrong size): it is never read.
    static KvMemoryMappedFile_SharedMemory* CreateShared(const char* name);

private:
    bool m_bCreated;
    uint32_t m_uiSize;
    int m_iHandle;
    void* m_pView;
};
