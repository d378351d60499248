#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

// Compiled shader libraries of the run-time engine ("vshaderbin", in a ".shaderbin\\dx11"
// folder): the whole file as the shader's binary, and one reference per pass, by name.
class KV_PLUGIN_CORE_API KvResourceImporter_ShaderBin : public KvResourceImporter
{
public:
    static constexpr uint32_t kShaderChunkId = 0x53484452;
    static constexpr uint8_t kMaxPassVersion = 8;

    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "vshaderbin"; }
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
    // Cuts the name before ".shaderbin\\dx11"; false when it has none.
    bool ConvertResourceName(std::string& name) override;
    std::string GetOriginalFileName(const std::string& name) override;
};
