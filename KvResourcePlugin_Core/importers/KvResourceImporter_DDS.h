#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

// DDS textures (DXT1, DXT5, uncompressed RGB/RGBA, luminance) into a texture and its pixels.
class KV_PLUGIN_CORE_API KvResourceImporter_DDS : public KvResourceImporter
{
public:
    // Pixel data claimed beyond this multiple of the bytes the file still holds (plus a
    // fixed margin) is refused rather than allocated.
    static constexpr uint64_t kMaxClaimFactor = 2;
    static constexpr uint64_t kClaimMarginBytes = 1u << 20;

    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "dds"; }
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
};
