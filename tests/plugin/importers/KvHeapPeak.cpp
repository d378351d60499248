#include "importers/KvHeapPeak.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace
{
std::atomic<uint64_t> g_Held{0};
std::atomic<uint64_t> g_Peak{0};
std::atomic<uint64_t> g_AtReset{0};

void* Allocate(std::size_t size)
{
    void* pMemory = std::malloc(size ? size : 1);
    if (!pMemory)
        throw std::bad_alloc();
    const uint64_t held = g_Held += malloc_usable_size(pMemory);
    uint64_t peak = g_Peak.load();
    while (held > peak && !g_Peak.compare_exchange_weak(peak, held))
    {
    }
    return pMemory;
}

void Release(void* pMemory)
{
    if (!pMemory)
        return;
    g_Held -= malloc_usable_size(pMemory);
    std::free(pMemory);
}
} // namespace

void KvHeapPeak::Reset()
{
    g_AtReset = g_Held.load();
    g_Peak = g_AtReset.load();
}

uint64_t KvHeapPeak::GetRise()
{
    return g_Peak - g_AtReset;
}

// Exported, so that the modules the program loads allocate through them too. The array and
// other forms of the library forward to these.
__attribute__((visibility("default"))) void* operator new(std::size_t size)
{
    return Allocate(size);
}

__attribute__((visibility("default"))) void operator delete(void* pMemory) noexcept
{
    Release(pMemory);
}

__attribute__((visibility("default"))) void operator delete(void* pMemory, std::size_t) noexcept
{
    Release(pMemory);
}
