#pragma once

#include <cstddef>
#include <vector>

// Type-erased access to a growable array member, so that the host can size and walk arrays
// of any element type it only knows through a schema.
class KvReflectedArrayAccessor
{
public:
    virtual ~KvReflectedArrayAccessor() = default;
    virtual size_t GetSize(const void* pArray) const = 0;
    // New elements are value-initialised (zero, empty, null).
    virtual void Resize(void* pArray, size_t size) const = 0;
    virtual void* GetElement(void* pArray, size_t index) const = 0;
    virtual size_t GetElementSize() const = 0;
};

template <class E>
class KvReflectedArrayAccessorOf : public KvReflectedArrayAccessor
{
public:
    size_t GetSize(const void* pArray) const override
    {
        return static_cast<const std::vector<E>*>(pArray)->size();
    }
    void Resize(void* pArray, size_t size) const override
    {
        static_cast<std::vector<E>*>(pArray)->resize(size);
    }
    void* GetElement(void* pArray, size_t index) const override
    {
        return &(*static_cast<std::vector<E>*>(pArray))[index];
    }
    size_t GetElementSize() const override { return sizeof(E); }
};
