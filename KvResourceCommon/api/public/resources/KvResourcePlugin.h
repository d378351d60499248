#pragma once

#include "KvResourceCommonExport.h"

#include <vector>

class KvResourceBinder;
class KvResourceCooker;
class KvResourceDescriptor;
class KvResourceImporter;

// Where a plug-in registers what it offers. The register operation is the second virtual
// operation of each registry.
class KV_RESOURCECOMMON_API KvResourceDescriptorRegistry
{
public:
    virtual ~KvResourceDescriptorRegistry() = default;
    // Keeps the address; the descriptor stays the plug-in's.
    virtual void Register(const KvResourceDescriptor* pDescriptor) = 0;
};

class KV_RESOURCECOMMON_API KvResourceImporterRegistry
{
public:
    virtual ~KvResourceImporterRegistry() = default;
    // Takes ownership.
    virtual void Register(KvResourceImporter* pImporter) = 0;
};

class KV_RESOURCECOMMON_API KvResourceCookerRegistry
{
public:
    virtual ~KvResourceCookerRegistry() = default;
    // Takes ownership.
    virtual void Register(KvResourceCooker* pCooker) = 0;
};

class KV_RESOURCECOMMON_API KvResourceBinderRegistry
{
public:
    virtual ~KvResourceBinderRegistry() = default;
    // Takes ownership of the binder; the two middle arguments are reserved (null).
    virtual void Register(const KvResourceDescriptor* pDescriptor, void* pReserved1, void* pReserved2,
                          KvResourceBinder* pBinder) = 0;
};

// Base of a plug-in: the host constructs it and calls InitializeReferences once.
class KV_RESOURCECOMMON_API KvResourcePlugin
{
public:
    struct tInitContext
    {
        // The host that loads the plug-in (its own record; plug-ins need not read it).
        void* m_pHost = nullptr;
        KvResourceDescriptorRegistry* m_pDescriptors = nullptr;
        KvResourceImporterRegistry* m_pImporters = nullptr;
        KvResourceCookerRegistry* m_pCookers = nullptr;
        KvResourceBinderRegistry* m_pBinders = nullptr;
    };

    virtual ~KvResourcePlugin() = default;
    virtual void InitializeReferences(const tInitContext& context) = 0;
    // Called before the plug-in is destroyed; nothing by default.
    virtual void Deinit();
    // The descriptors the plug-in exports without registering them, so that the host can still
    // describe their data types (getting them declares those types). None by default.
    virtual std::vector<const KvResourceDescriptor*> GetUnregisteredDescriptors() const;
    // Hands the host the importers the plug-in exports without registering them. The host asks
    // them only for sources that they recognise and no registered importer recognises. None by
    // default.
    virtual void ExportUnregisteredImporters(KvResourceImporterRegistry& standby);
};

// What a plug-in module exports, found by the host with dlsym.
extern "C"
{
    using KvCreateResourcePluginFunction = KvResourcePlugin* (*)();
    using KvDestroyResourcePluginFunction = void (*)(KvResourcePlugin*);
    // What a game module exports to register its run-time classes and reflected types.
    using KvRegisterGameTypesFunction = void (*)();
}
