#pragma once

#include "KvResourceCommonExport.h"
#include "host/KvBinderRegistry.h"
#include "host/KvCookerRegistry.h"
#include "host/KvDescriptorRegistry.h"
#include "host/KvImporterRegistry.h"
#include "host/KvModuleLoader.h"

#include <string>

// The host: its four registries and the modules that fill them.
class KV_RESOURCECOMMON_API KvResourceHost
{
public:
    KvResourceHost();
    ~KvResourceHost() = default;

    KvResourceHost(const KvResourceHost&) = delete;
    KvResourceHost& operator=(const KvResourceHost&) = delete;

    // Loads and initialises a plug-in module.
    KvResult LoadPlugin(const std::string& path);
    // Loads a game module.
    KvResult LoadGameModule(const std::string& path);
    // The context a plug-in's InitializeReferences receives.
    KvResourcePlugin::tInitContext GetInitContext();

    KvDescriptorRegistry& GetDescriptors() { return m_Descriptors; }
    KvImporterRegistry& GetImporters() { return m_Importers; }
    KvCookerRegistry& GetCookers() { return m_Cookers; }
    KvBinderRegistry& GetBinders() { return m_Binders; }
    // The importers the loaded plug-ins export without registering them.
    const KvImporterRegistry& GetUnregisteredImporters() const { return m_UnregisteredImporters; }
    // The types the loaded plug-ins export without registering them.
    const std::vector<const KvResourceDescriptor*>& GetUnregisteredDescriptors() const
    {
        return m_Modules.GetUnregisteredDescriptors();
    }

private:
    // Declared first, destroyed last: the plug-ins go before their modules' registries.
    KvDescriptorRegistry m_Descriptors;
    KvImporterRegistry m_Importers;
    KvCookerRegistry m_Cookers;
    KvBinderRegistry m_Binders;
    KvImporterRegistry m_UnregisteredImporters;
    KvModuleLoader m_Modules;
};
