#include "importers/KvResourceImporter_ShaderBin.h"

#include "Foundation/KvReport.h"
#include "Foundation/KvSmartPtr.h"
#include "IO/KvIOStream_Memory.h"
#include "KvResourcePlugin_Core_Resources.h"
#include "importers/KvChunkFileWrapper.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_Material.h"

#include <limits>

namespace
{
constexpr const char* kFolderMark = ".shaderbin\\dx11";
constexpr uint32_t kAbsent = 0xFFFFFFFF;

// Sizes of the fixed blocks of a pass record that are stepped over.
constexpr uint32_t kBlendStateBytes = 17;
constexpr uint32_t kDepthStencilStateBytes = 25;
constexpr uint32_t kThirdStateBytes = 15;
constexpr uint32_t kSamplerBlockBytes = 37;

// A length-prefixed block: the length, then that many bytes unless it is 0xFFFFFFFF.
void SkipBlock(KvChunkFileWrapper& reader)
{
    const uint32_t length = reader.ReadInt();
    if (length != kAbsent)
        reader.Skip(length);
}

// Fails the import (fatally, as every malformed chunk file does) once reading ran off the data.
void RequireData(const KvChunkFileWrapper& reader, const char* fileName)
{
    if (reader.IsPastEnd())
        KvFatalReport(KV_REPORT_SITE, "Shader file %s ends inside a pass record", fileName);
}

void SkipStageRecord(KvChunkFileWrapper& reader, const char* fileName)
{
    reader.ReadChar();
    reader.ReadInt();
    reader.ReadInt();
    const uint32_t itemCount = reader.ReadInt();
    std::string text;
    for (uint32_t item = 0; item < itemCount; ++item)
    {
        reader.Skip(kSamplerBlockBytes);
        reader.ReadChar();
        reader.ReadInt();
        reader.ReadString(text);
        reader.ReadString(text);
        RequireData(reader, fileName);
    }
    if (reader.ReadInt() != kAbsent)
        return;
    if (reader.ReadChar() != 0)
    {
        const uint32_t entryCount = reader.ReadInt();
        for (uint32_t entry = 0; entry < entryCount; ++entry)
        {
            SkipBlock(reader);
            reader.Skip(3 * sizeof(uint32_t));
            RequireData(reader, fileName);
        }
    }
    reader.ReadChar();
    const uint32_t skipLength = reader.ReadInt();
    if (skipLength >= 1)
        reader.Skip(skipLength);
    RequireData(reader, fileName);
}

// Everything of a pass record after its name.
void SkipPassBody(KvChunkFileWrapper& reader, uint8_t version, const char* fileName)
{
    SkipBlock(reader);
    SkipBlock(reader);
    reader.Skip(8 + 4 * sizeof(uint32_t) + kBlendStateBytes + kDepthStencilStateBytes + kThirdStateBytes);
    reader.Skip(2 + 2 * sizeof(uint32_t));
    RequireData(reader, fileName);
    auto skipStages = [&](int count)
    {
        for (int stage = 0; stage < count; ++stage)
            SkipStageRecord(reader, fileName);
    };
    // Every version has six stages; version 2 put a u32 after the fourth, version 3 added a seventh.
    skipStages(4);
    if (version >= 2)
        reader.ReadInt();
    skipStages(2);
    if (version >= 3)
        skipStages(1);
}
} // namespace

const KvResourceDescriptor* KvResourceImporter_ShaderBin::GetResourceType() const
{
    return KvResourcePlugin_Core_Shader::GetStaticDescriptor();
}

bool KvResourceImporter_ShaderBin::ConvertResourceName(std::string& name)
{
    const size_t mark = name.find(kFolderMark);
    if (mark == std::string::npos)
        return false;
    name.erase(mark);
    return true;
}

std::string KvResourceImporter_ShaderBin::GetOriginalFileName(const std::string& name)
{
    return name + kFolderMark;
}

void* KvResourceImporter_ShaderBin::ConvertToRaw(void*&, KvResource*, KvIOStream* pSource, void*)
{
    // The pass records are walked through a stream of 32-bit positions.
    if (KvRemainingBytes(*pSource) > std::numeric_limits<uint32_t>::max())
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Shader file %s is larger than 4 GiB",
                    pSource->GetName());
        return nullptr;
    }
    KvImportedData<KvProjectData_Core_Raw_Shader> shader;
    shader->m_acShaderBin = KvReadRemainingBytes(*pSource);
    // An empty buffer still needs an address for the stream.
    uint8_t empty = 0;
    uint8_t* pBytes = shader->m_acShaderBin.empty() ? &empty : shader->m_acShaderBin.data();
    const KvSmartPtr<KvIOStream_Memory> memory(
        new KvIOStream_Memory(pBytes, static_cast<uint32_t>(shader->m_acShaderBin.size())));
    {
        KvChunkFileWrapper reader(memory.Get());
        reader.PushChunk(kShaderChunkId);
        const uint32_t passCount = reader.ReadInt();
        for (uint32_t pass = 0; pass < passCount; ++pass)
        {
            RequireData(reader, pSource->GetName());
            auto* pReference = KvCreateData<KvCompiledShaderPass_Ref>();
            shader->m_apShaders.push_back(pReference);
            const uint8_t version = reader.ReadChar();
            if (version > kMaxPassVersion)
                KvFatalReport(KV_REPORT_SITE, "Invalid version number for shader resource!");
            reader.ReadString(pReference->m_strName);
            SkipPassBody(reader, version, pSource->GetName());
        }
        reader.PopChunk();
    }
    return shader.Release();
}
