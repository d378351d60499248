#pragma once

#include "Foundation/KvEnumConverter.h"
#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"
#include "resources/KvTextureSource.h"

#include <cstdint>
#include <string>
#include <vector>

enum tTextureFormat : uint32_t
{
    FORMAT_RGB,
    FORMAT_RGBA,
    FORMAT_BGR,
    FORMAT_BGRA,
    FORMAT_DXT1,
    FORMAT_DXT3,
    FORMAT_DXT5,
    FORMAT_RGB555,
    FORMAT_RGB565,
    FORMAT_RGBA1555,
    FORMAT_RGBA4444,
    FORMAT_R8,
    FORMAT_R16,
    FORMAT_R16F,
    FORMAT_R32F,
    FORMAT_G8R8,
    FORMAT_G16R16,
    FORMAT_G32R32,
    FORMAT_G16R16F,
    FORMAT_G32R32F,
    FORMAT_RGBA16,
    FORMAT_RGBA32,
    FORMAT_RGBA16F,
    FORMAT_RGBA32F,
    FORMAT_D24S8,
    FORMAT_D24X8,
    FORMAT_D16,
    FORMAT_D32,
    FORMAT_D32F,
    FORMAT_D24FS8,
    FORMAT_A2R10G10B10,
    FORMAT_A2B10G10R10,
    FORMAT_A2B10G10R10F_EDRAM,
    FORMAT_G16R16_EDRAM,
    FORMAT_A16B16G16R16_EDRAM,
    FORMAT_RGB_PVRTC_4BPP,
    FORMAT_RGBA_PVRTC_4BPP,
    FORMAT_RGB_PVRTC_2BPP,
    FORMAT_RGBA_PVRTC_2BPP,
    FORMAT_COUNT
};

KV_PLUGIN_CORE_API extern const KvEnumConverter<tTextureFormat> g_Converter_TextureFormat;

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Texture_Mip
{
public:
    std::vector<uint8_t> m_aPixelData;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Texture_Level
{
public:
    std::vector<KvProjectData_Core_Raw_Texture_Mip> m_aMips;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The pixels of a texture: one level per face, each with its mips largest first.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Texture_Payload
{
public:
    // The renderer's view of the levels, rebuilt from the texture's dimensions and format.
    KvTextureSource* GetTextureSource(const class KvProjectData_Core_Raw_Texture& texture);

    std::vector<KvProjectData_Core_Raw_Texture_Level> m_aLevels;

    static const KvReflectedDataType* GetReflectedDataType();

private:
    KvTextureSource m_TextureSource;
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Texture : public KvXRefObject<KvProjectData_Core_Raw_Texture>
{
public:
    // The texture source of the loaded payload; while there is none, asks the resource for
    // the payload (timed as "TextureLoadRequest") and returns null.
    KvTextureSource* EnsureTextureSourceLoaded();

    bool m_bIsStatic = false;
    std::string m_strName;
    uint32_t m_ulWidth = 0;
    uint32_t m_ulHeight = 0;
    tTextureFormat m_eFormat = FORMAT_RGB;
    // 1 for a two-dimensional texture, 3 for a cube map.
    uint32_t m_eDims = 0;
    uint32_t m_ulDepth = 1;
    void* m_pRunResource = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Cooked_TextureHandle
    : public KvXRefObject<KvProjectData_Core_Cooked_TextureHandle>
{
public:
    std::string m_strName;

    static const KvReflectedDataType* GetReflectedDataType();
};
