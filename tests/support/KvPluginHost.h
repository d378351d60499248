#pragma once

#include "host/KvResourceHost.h"

#include <gtest/gtest.h>

// One host with the suite's plug-in (KV_PLUGIN_PATH) for the whole test program: modules stay
// loaded for the process.
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

// Loads the suite's game module (KV_GAME_MODULE_PATH) into that host, once.
inline void LoadGameModule()
{
    static const KvResult s_Loaded = PluginHost().LoadGameModule(KV_GAME_MODULE_PATH);
    ASSERT_TRUE(s_Loaded) << s_Loaded.GetReason();
}
