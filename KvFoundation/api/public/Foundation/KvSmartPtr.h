#pragma once

#include <atomic>
#include <utility>

// Holds one reference on a KvRefCounter object. The held pointer is swapped atomically, so
// a holder may be reassigned while other threads take their own references. Whatever
// releases a reference may destroy the object, and with it raise a fatal error to the host:
// only the move constructor is noexcept.
template <class T>
class KvSmartPtr
{
public:
    KvSmartPtr() = default;
    KvSmartPtr(T* pObject) { Assign(pObject); }
    KvSmartPtr(const KvSmartPtr& other) { Assign(other.Get()); }
    KvSmartPtr(KvSmartPtr&& other) noexcept : m_pObject(other.m_pObject.exchange(nullptr)) {}
    ~KvSmartPtr() noexcept(false) { Clear(); }

    KvSmartPtr& operator=(T* pObject)
    {
        Assign(pObject);
        return *this;
    }
    KvSmartPtr& operator=(const KvSmartPtr& other)
    {
        Assign(other.Get());
        return *this;
    }
    KvSmartPtr& operator=(KvSmartPtr&& other)
    {
        if (this != &other)
        {
            T* pPrevious = m_pObject.exchange(other.m_pObject.exchange(nullptr));
            if (pPrevious)
                pPrevious->Release();
        }
        return *this;
    }

    // Adds a reference to the new object, publishes it, then releases the previous one.
    void Assign(T* pObject)
    {
        if (pObject)
            pObject->AddRef();
        T* pPrevious = m_pObject.exchange(pObject);
        if (pPrevious)
            pPrevious->Release();
    }

    void Clear()
    {
        T* pPrevious = m_pObject.exchange(nullptr);
        if (pPrevious)
            pPrevious->Release();
    }

    T* Get() const { return m_pObject.load(); }
    T* operator->() const { return Get(); }
    T& operator*() const { return *Get(); }
    explicit operator bool() const { return Get() != nullptr; }

private:
    std::atomic<T*> m_pObject{nullptr};
};
