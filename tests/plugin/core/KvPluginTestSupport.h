#pragma once

#include "host/KvResourceHost.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"

#include <gtest/gtest.h>

// One host with the Core plug-in for the whole test program.
inline KvResourceHost& PluginHost()
{
    static KvResourceHost* s_pHost = []
    {
        auto* pHost = new KvResourceHost();
        if (const KvResult loaded = pHost->LoadPlugin(KV_PLUGIN_PATH); !loaded)
            ADD_FAILURE() << loaded.GetReason();
        return pHost;
    }();
    return *s_pHost;
}

// A new object of a data class through its object constructor, as the host makes them.
template <class T>
T* NewData()
{
    return static_cast<T*>(T::GetReflectedDataType()->GetObjectConstructor()->Create());
}

template <class T>
void DestroyData(T* pObject)
{
    KvReflectionInterface::GetInstance()->DestroyObject(T::GetReflectedDataType(), pObject);
}
