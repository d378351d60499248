#include "Host/KvModuleLoader.h"

#include <dlfcn.h>

namespace
{
void* OpenModule(const std::string& path, std::string& outError)
{
    void* pHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!pHandle)
    {
        const char* reason = dlerror();
        outError = "cannot load module '" + path + "': " + (reason ? reason : "unknown reason");
    }
    return pHandle;
}

void* FindEntryPoint(void* pHandle, const std::string& path, const char* name, std::string& outError)
{
    void* pSymbol = dlsym(pHandle, name);
    if (!pSymbol)
        outError = "module '" + path + "' has no entry point " + name;
    return pSymbol;
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

bool KvModuleLoader::LoadPlugin(const std::string& path, const KvResourcePlugin::tInitContext& context,
                                std::string& outError)
{
    void* pHandle = OpenModule(path, outError);
    if (!pHandle)
        return false;
    auto pfnCreate = reinterpret_cast<KvCreateResourcePluginFunction>(
        FindEntryPoint(pHandle, path, "KvCreateResourcePlugin", outError));
    if (!pfnCreate)
        return false;
    auto pfnDestroy = reinterpret_cast<KvDestroyResourcePluginFunction>(
        FindEntryPoint(pHandle, path, "KvDestroyResourcePlugin", outError));
    if (!pfnDestroy)
        return false;
    KvResourcePlugin* pPlugin = pfnCreate();
    if (!pPlugin)
    {
        outError = "module '" + path + "' made no plug-in";
        return false;
    }
    m_aModules.push_back({pPlugin, pfnDestroy});
    m_apPlugins.push_back(pPlugin);
    pPlugin->InitializeReferences(context);
    return true;
}

bool KvModuleLoader::LoadGameModule(const std::string& path, std::string& outError)
{
    void* pHandle = OpenModule(path, outError);
    if (!pHandle)
        return false;
    auto pfnRegister = reinterpret_cast<KvRegisterGameTypesFunction>(
        FindEntryPoint(pHandle, path, "KvRegisterGameTypes", outError));
    if (!pfnRegister)
        return false;
    pfnRegister();
    return true;
}
