#include "host/KvModuleLoader.h"

#include <algorithm>
#include <dlfcn.h>

namespace
{
KvResult OpenModule(const std::string& path, void*& outHandle)
{
    outHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (outHandle)
        return {};
    const char* reason = dlerror();
    return KvResult::Failure("cannot load module '" + path + "': " + (reason ? reason : "unknown reason"));
}

template <class Function>
KvResult FindEntryPoint(void* pHandle, const std::string& path, const char* name, Function& outFunction)
{
    outFunction = reinterpret_cast<Function>(dlsym(pHandle, name));
    if (outFunction)
        return {};
    return KvResult::Failure("module '" + path + "' has no entry point " + name);
}

// A module's own code may fail through the fatal routine (raised when the host asks for it) or
// throw: the load fails with that reason.
KvResult FailureOfStartingModule(const std::string& path)
{
    return KvResult::Failure("module '" + path +
                             "' failed to start: " + KvResult::FailureOfCurrentException().GetReason());
}
} // namespace

KvModuleLoader::~KvModuleLoader()
{
    for (auto module = m_aModules.rbegin(); module != m_aModules.rend(); ++module)
    {
        module->m_pPlugin->Deinit();
        module->m_pfnDestroy(module->m_pPlugin);
    }
}

KvResult KvModuleLoader::LoadPlugin(const std::string& path, const KvResourcePlugin::tInitContext& context,
                                    KvResourceImporterRegistry& standby)
{
    void* pHandle = nullptr;
    KvCreateResourcePluginFunction pfnCreate = nullptr;
    KvDestroyResourcePluginFunction pfnDestroy = nullptr;
    if (KvResult opened = OpenModule(path, pHandle); !opened)
        return opened;
    if (KvResult found = FindEntryPoint(pHandle, path, "KvCreateResourcePlugin", pfnCreate); !found)
        return found;
    if (KvResult found = FindEntryPoint(pHandle, path, "KvDestroyResourcePlugin", pfnDestroy); !found)
        return found;
    try
    {
        KvResourcePlugin* pPlugin = pfnCreate();
        if (!pPlugin)
            return KvResult::Failure("module '" + path + "' made no plug-in");
        m_aModules.push_back({pPlugin, pfnDestroy});
        m_apPlugins.push_back(pPlugin);
        pPlugin->InitializeReferences(context);
        pPlugin->ExportUnregisteredImporters(standby);
        // A module loaded twice initialises a second plug-in, with the same static descriptors.
        for (const KvResourceDescriptor* pDescriptor : pPlugin->GetUnregisteredDescriptors())
            if (std::find(m_apUnregisteredDescriptors.begin(), m_apUnregisteredDescriptors.end(),
                          pDescriptor) == m_apUnregisteredDescriptors.end())
                m_apUnregisteredDescriptors.push_back(pDescriptor);
    }
    catch (...)
    {
        return FailureOfStartingModule(path);
    }
    return {};
}

KvResult KvModuleLoader::LoadGameModule(const std::string& path)
{
    void* pHandle = nullptr;
    KvRegisterGameTypesFunction pfnRegister = nullptr;
    if (KvResult opened = OpenModule(path, pHandle); !opened)
        return opened;
    if (KvResult found = FindEntryPoint(pHandle, path, "KvRegisterGameTypes", pfnRegister); !found)
        return found;
    try
    {
        pfnRegister();
    }
    catch (...)
    {
        return FailureOfStartingModule(path);
    }
    return {};
}
