#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

// Wave files ("wav") kept unchanged as an audio sample's payload.
class KV_PLUGIN_CORE_API KvResourceImporter_ADPCM : public KvResourceImporter
{
public:
    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "wav"; }
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
};
