#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

#include <cstdint>

// Bitmap-font XML descriptions ("fnt") into a font with its 256-entry character table.
class KV_PLUGIN_CORE_API KvResourceImporter_Font : public KvResourceImporter
{
public:
    static constexpr uint32_t kCharacterCount = 256;

    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "fnt"; }
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
};
