#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

// Localisation tables ("id=text" lines ending in CR LF) into a string table of the locale the
// resource is named after.
class KV_PLUGIN_CORE_API KvResourceImporter_i18n : public KvResourceImporter
{
public:
    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "i18n"; }
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
};
