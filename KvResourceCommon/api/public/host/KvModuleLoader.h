#pragma once

#include "KvResourceCommonExport.h"
#include "host/KvResult.h"
#include "resources/KvResourcePlugin.h"

#include <string>
#include <vector>

// Loads plug-in and game modules at run time. Modules stay mapped until the process ends:
// the registries keep their descriptors, type records and creation functions.
class KV_RESOURCECOMMON_API KvModuleLoader
{
public:
    KvModuleLoader() = default;
    // Deinitialises and destroys the plug-ins, latest first.
    ~KvModuleLoader();

    KvModuleLoader(const KvModuleLoader&) = delete;
    KvModuleLoader& operator=(const KvModuleLoader&) = delete;

    // Loads a plug-in module, constructs its plug-in and initialises it with the registries.
    // Fails when the module or its entry points are missing or its start-up fails.
    // The plug-in's unregistered importers go to `standby`.
    KvResult LoadPlugin(const std::string& path, const KvResourcePlugin::tInitContext& context,
                        KvResourceImporterRegistry& standby);
    // Loads a game module and lets it register its types; fails as LoadPlugin does.
    KvResult LoadGameModule(const std::string& path);

    const std::vector<KvResourcePlugin*>& GetPlugins() const { return m_apPlugins; }
    // What the loaded plug-ins export without registering, asked for once each is initialised;
    // each descriptor once.
    const std::vector<const KvResourceDescriptor*>& GetUnregisteredDescriptors() const
    {
        return m_apUnregisteredDescriptors;
    }

private:
    struct tPluginModule
    {
        KvResourcePlugin* m_pPlugin;
        KvDestroyResourcePluginFunction m_pfnDestroy;
    };

    std::vector<tPluginModule> m_aModules;
    std::vector<KvResourcePlugin*> m_apPlugins;
    std::vector<const KvResourceDescriptor*> m_apUnregisteredDescriptors;
};
