#pragma once

#include <atomic>
#include <cstdint>

// Root of reference-counted objects. The count starts at 0; holders add a reference and
// release it; the last release destroys the object.
class KvRefCounter
{
public:
    KvRefCounter() = default;
    // A copy is a new object: it starts without references.
    KvRefCounter(const KvRefCounter&) {}
    KvRefCounter& operator=(const KvRefCounter&) { return *this; }
    // Fatal when references are still held. The fatal error may be raised to the host, so
    // this destructor, and every destructor that runs it, may throw.
    virtual ~KvRefCounter() noexcept(false);

    void AddRef() { m_iRefCount.fetch_add(1, std::memory_order_relaxed); }
    // Fatal without an active reference; destroys the object when the count reaches 0.
    void Release();
    int32_t GetRefCount() const { return m_iRefCount.load(std::memory_order_relaxed); }

private:
    std::atomic<int32_t> m_iRefCount{0};
};

static_assert(sizeof(std::atomic<int32_t>) == sizeof(int32_t), "the reference count is a plain 32-bit value");
