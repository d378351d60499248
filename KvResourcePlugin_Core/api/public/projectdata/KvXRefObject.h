#pragma once

#include "Foundation/KvGuid.h"
#include "reflection/KvReflectionInterface.h"

#include <cstdint>

// Base of data classes that other resources refer to by identity. A default-constructed
// object gets a new GUID and is a live object of T's type until it is destroyed; a copy takes
// the identity but is not registered again.
template <class T>
class KvXRefObject
{
public:
    static constexpr uint32_t kNoLocalIndex = 0xFFFFFFFF;

    // Registers the address of the T being built: only the address is taken, hence no vptr check.
    __attribute__((no_sanitize("vptr"))) KvXRefObject() : m_XRefGUID(KvGuid::GenerateNew())
    {
        KvReflectionInterface::GetInstance()->RegisterLiveObject(T::GetReflectedDataType(),
                                                                 static_cast<T*>(this));
    }
    KvXRefObject(const KvXRefObject& other)
        : m_XRefGUID(other.m_XRefGUID), m_ulLocalIndex(other.m_ulLocalIndex)
    {
    }
    KvXRefObject& operator=(const KvXRefObject& other)
    {
        m_XRefGUID = other.m_XRefGUID;
        m_ulLocalIndex = other.m_ulLocalIndex;
        return *this;
    }
    __attribute__((no_sanitize("vptr"))) virtual ~KvXRefObject()
    {
        KvReflectionInterface::GetInstance()->UnregisterLiveObject(T::GetReflectedDataType(),
                                                                   static_cast<T*>(this));
    }

    // The live object of T's type with that name or GUID, or null.
    static T* GetExternalReference(const char* name)
    {
        return static_cast<T*>(
            KvReflectionInterface::GetInstance()->FindLiveObjectByName(T::GetReflectedDataType(), name));
    }
    static T* GetExternalReference(const KvGuid& guid)
    {
        return static_cast<T*>(
            KvReflectionInterface::GetInstance()->FindLiveObjectByGuid(T::GetReflectedDataType(), guid));
    }

    KvGuid m_XRefGUID;
    uint32_t m_ulLocalIndex = kNoLocalIndex;
};
