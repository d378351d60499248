#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourcePlugin.h"

// The "Core" plug-in: registers its resource types, importers, cooker and binder.
class KV_PLUGIN_CORE_API KvResourcePlugin_Core : public KvResourcePlugin
{
public:
    KvResourcePlugin_Core() = default;
    KvResourcePlugin_Core(const KvResourcePlugin_Core&) = default;
    KvResourcePlugin_Core& operator=(const KvResourcePlugin_Core&) = default;
    ~KvResourcePlugin_Core() override = default;

    void InitializeReferences(const tInitContext& context) override;
    // PhysicsCollection and Video.
    std::vector<const KvResourceDescriptor*> GetUnregisteredDescriptors() const override;
    void ExportUnregisteredImporters(KvResourceImporterRegistry& standby) override;
};
