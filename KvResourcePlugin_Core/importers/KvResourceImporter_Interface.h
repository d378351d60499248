#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

// User-interface files ("gfx") kept unchanged as an interface resource's bytes.
class KV_PLUGIN_CORE_API KvResourceImporter_Interface : public KvResourceImporter
{
public:
    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "gfx"; }
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
};
