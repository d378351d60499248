#pragma once

#include "Foundation/KvSharedMemoryPtr.h"

// A process-wide T created on demand: the first module that asks creates it on its own heap
// and publishes it; every other module gets the published one. Never destroyed.
template <class T>
class KvSingleton_ProcessShared
{
public:
    static T* GetInstance()
    {
        KvSharedMemoryPtr<T>& shared = KvSharedMemoryPtr<T>::ForModule();
        T* pInstance = shared.Get();
        if (!pInstance)
        {
            pInstance = new T();
            shared.Set(pInstance);
        }
        return pInstance;
    }

protected:
    KvSingleton_ProcessShared() = default;
};
