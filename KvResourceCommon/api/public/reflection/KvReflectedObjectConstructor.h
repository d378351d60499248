#pragma once

#include <cstring>
#include <new>

// Creates and destroys the objects of one reflected type for the host.
class KvReflectedObjectConstructor
{
public:
    virtual ~KvReflectedObjectConstructor() = default;
    // Zeroed storage of the class's size, then the default constructor.
    virtual void* Create() const = 0;
    // The destructor, then the storage; nothing for null.
    virtual void Destroy(void* pObject) const = 0;
    // The default constructor on given storage; nothing for null.
    virtual void ConstructInPlace(void* pStorage) const = 0;
    // Called by the host once an object has been loaded.
    virtual void PostDeserialize(void* pObject) const = 0;
    virtual bool HasPostDeserialize() const = 0;
};

template <class T>
class ObjectConstructor : public KvReflectedObjectConstructor
{
public:
    void* Create() const override
    {
        void* pStorage = ::operator new(sizeof(T));
        std::memset(pStorage, 0, sizeof(T));
        ConstructInPlace(pStorage);
        return pStorage;
    }
    void Destroy(void* pObject) const override
    {
        if (!pObject)
            return;
        static_cast<T*>(pObject)->~T();
        ::operator delete(pObject);
    }
    void ConstructInPlace(void* pStorage) const override
    {
        if (pStorage)
            new (pStorage) T();
    }
    void PostDeserialize(void*) const override {}
    bool HasPostDeserialize() const override { return false; }
};

// For classes that rebuild unsaved state after loading (T::PostDeserialize()).
template <class T>
class ObjectConstructorWithPost : public ObjectConstructor<T>
{
public:
    void PostDeserialize(void* pObject) const override { static_cast<T*>(pObject)->PostDeserialize(); }
    bool HasPostDeserialize() const override { return true; }
};
