#include "projectdata/KvProjectData_Core_Texture.h"

#include "Profiling/KvStatistics.h"
#include "projectdata/KvSchema.h"
#include "resources/KvResource.h"

const KvEnumConverter<tTextureFormat>
    g_Converter_TextureFormat("tTextureFormat", FORMAT_COUNT,
                              {{FORMAT_RGB, "FORMAT_RGB"},
                               {FORMAT_RGBA, "FORMAT_RGBA"},
                               {FORMAT_BGR, "FORMAT_BGR"},
                               {FORMAT_BGRA, "FORMAT_BGRA"},
                               {FORMAT_DXT1, "FORMAT_DXT1"},
                               {FORMAT_DXT3, "FORMAT_DXT3"},
                               {FORMAT_DXT5, "FORMAT_DXT5"},
                               {FORMAT_RGB555, "FORMAT_RGB555"},
                               {FORMAT_RGB565, "FORMAT_RGB565"},
                               {FORMAT_RGBA1555, "FORMAT_RGBA1555"},
                               {FORMAT_RGBA4444, "FORMAT_RGBA4444"},
                               {FORMAT_R8, "FORMAT_R8"},
                               {FORMAT_R16, "FORMAT_R16"},
                               {FORMAT_R16F, "FORMAT_R16F"},
                               {FORMAT_R32F, "FORMAT_R32F"},
                               {FORMAT_G8R8, "FORMAT_G8R8"},
                               {FORMAT_G16R16, "FORMAT_G16R16"},
                               {FORMAT_G32R32, "FORMAT_G32R32"},
                               {FORMAT_G16R16F, "FORMAT_G16R16F"},
                               {FORMAT_G32R32F, "FORMAT_G32R32F"},
                               {FORMAT_RGBA16, "FORMAT_RGBA16"},
                               {FORMAT_RGBA32, "FORMAT_RGBA32"},
                               {FORMAT_RGBA16F, "FORMAT_RGBA16F"},
                               {FORMAT_RGBA32F, "FORMAT_RGBA32F"},
                               {FORMAT_D24S8, "FORMAT_D24S8"},
                               {FORMAT_D24X8, "FORMAT_D24X8"},
                               {FORMAT_D16, "FORMAT_D16"},
                               {FORMAT_D32, "FORMAT_D32"},
                               {FORMAT_D32F, "FORMAT_D32F"},
                               {FORMAT_D24FS8, "FORMAT_D24FS8"},
                               {FORMAT_A2R10G10B10, "FORMAT_A2R10G10B10"},
                               {FORMAT_A2B10G10R10, "FORMAT_A2B10G10R10"},
                               {FORMAT_A2B10G10R10F_EDRAM, "FORMAT_A2B10G10R10F_EDRAM"},
                               {FORMAT_G16R16_EDRAM, "FORMAT_G16R16_EDRAM"},
                               {FORMAT_A16B16G16R16_EDRAM, "FORMAT_A16B16G16R16_EDRAM"},
                               {FORMAT_RGB_PVRTC_4BPP, "FORMAT_RGB_PVRTC_4BPP"},
                               {FORMAT_RGBA_PVRTC_4BPP, "FORMAT_RGBA_PVRTC_4BPP"},
                               {FORMAT_RGB_PVRTC_2BPP, "FORMAT_RGB_PVRTC_2BPP"},
                               {FORMAT_RGBA_PVRTC_2BPP, "FORMAT_RGBA_PVRTC_2BPP"}});

KvTextureSource*
KvProjectData_Core_Raw_Texture_Payload::GetTextureSource(const KvProjectData_Core_Raw_Texture& texture)
{
    m_TextureSource.m_ulWidth = texture.m_ulWidth;
    m_TextureSource.m_ulHeight = texture.m_ulHeight;
    m_TextureSource.m_ulDepth = texture.m_ulDepth;
    m_TextureSource.m_ulFormat = texture.m_eFormat;
    m_TextureSource.m_aSurfaces.clear();
    for (uint32_t face = 0; face < m_aLevels.size(); ++face)
    {
        uint32_t width = texture.m_ulWidth;
        uint32_t height = texture.m_ulHeight;
        const std::vector<KvProjectData_Core_Raw_Texture_Mip>& mips = m_aLevels[face].m_aMips;
        for (uint32_t mip = 0; mip < mips.size(); ++mip)
        {
            m_TextureSource.m_aSurfaces.push_back(
                {face, mip, width, height, mips[mip].m_aPixelData.data(), mips[mip].m_aPixelData.size()});
            width = width > 1 ? width / 2 : 1;
            height = height > 1 ? height / 2 : 1;
        }
    }
    return &m_TextureSource;
}

KvTextureSource* KvProjectData_Core_Raw_Texture::EnsureTextureSourceLoaded()
{
    auto* pResource = static_cast<KvResource*>(m_pRunResource);
    if (!pResource)
        return nullptr;
    if (auto* pPayload = static_cast<KvProjectData_Core_Raw_Texture_Payload*>(pResource->GetPayload()))
        return pPayload->GetTextureSource(*this);
    {
        KvScopedChrono timer("TextureLoadRequest");
        pResource->GetResourceInterface()->RequestPayload(pResource, 0, true, false);
    }
    return nullptr;
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Texture_Mip, ObjectConstructor)
schema.Array("m_aPixelData", &KvProjectData_Core_Raw_Texture_Mip::m_aPixelData);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Texture_Level, ObjectConstructor)
schema
    .RecordArray("m_aMips", &KvProjectData_Core_Raw_Texture_Level::m_aMips,
                 KvProjectData_Core_Raw_Texture_Mip::GetReflectedDataType())
    .With(new KvAttribute_HideInPropertyGrid())
    .With(new KvAttribute_HideVirtualNode());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Texture_Payload, ObjectConstructor)
schema.TypeAttribute(new KvAttribute_ReadOnly());
schema
    .RecordArray("m_aLevels", &KvProjectData_Core_Raw_Texture_Payload::m_aLevels,
                 KvProjectData_Core_Raw_Texture_Level::GetReflectedDataType())
    .With(new KvAttribute_HideInPropertyGrid());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Texture, ObjectConstructor)
using T = KvProjectData_Core_Raw_Texture;
schema.Member("m_bIsStatic", &T::m_bIsStatic).With(new KvAttribute_StaticFlag());
schema.IdentityName(&T::m_strName).With(new KvAttribute_ReadOnly());
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Member("m_ulWidth", &T::m_ulWidth)
    .With(new KvAttribute_DisplayName("Width"))
    .With(new KvAttribute_CategoryName("Texture Dimensions"))
    .With(new KvAttribute_Description("Width of the texture."))
    .With(new KvAttribute_ReadOnly());
schema.Member("m_ulHeight", &T::m_ulHeight)
    .With(new KvAttribute_DisplayNameFromMember("Texture with height %s (hidden property m_eDims)"))
    .With(new KvAttribute_DisplayName("Height"))
    .With(new KvAttribute_CategoryName("Texture Dimensions"))
    .With(new KvAttribute_Description(
        "Height of the texture.\nThis is also the value used also used as a name for this virtual node"))
    .With(new KvAttribute_ReadOnly());
schema.Enum("m_eFormat", &T::m_eFormat, &g_Converter_TextureFormat)
    .With(new KvAttribute_DisplayName("Format"))
    .With(new KvAttribute_CategoryName("Texture"))
    .With(new KvAttribute_Description("Internal format of the texture."))
    .With(new KvAttribute_ReadOnly());
schema.Enum("m_eDims", &T::m_eDims, nullptr).With(new KvAttribute_HideInPropertyGrid());
schema.Member("m_ulDepth", &T::m_ulDepth).With(new KvAttribute_ReadOnly());
schema.Member("m_pRunResource", &T::m_pRunResource).With(new KvAttribute_SetResourceHandle());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Cooked_TextureHandle, ObjectConstructor)
using T = KvProjectData_Core_Cooked_TextureHandle;
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
KV_END_SCHEMA()
