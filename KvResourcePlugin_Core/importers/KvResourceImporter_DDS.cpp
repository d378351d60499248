#include "importers/KvResourceImporter_DDS.h"

#include "Foundation/KvReport.h"
#include "KvResourcePlugin_Core_Resources.h"
#include "importers/DdsFormat.h"
#include "importers/KvImporterSupport.h"
#include "importers/KvSaturatingArithmetic.h"
#include "projectdata/KvProjectData_Core_Texture.h"

#include <algorithm>
#include <bit>
#include <cstring>

using namespace DdsFormat;

namespace
{
// What the pixel format flags make of the data.
struct tLayout
{
    tTextureFormat m_eFormat;
    // Bytes of the top mip level (saturated) and the least any level holds.
    uint64_t m_ulBaseSize;
    uint64_t m_ulMinimumLevelSize;
    // Uncompressed formats only.
    uint32_t m_ulBytesPerPixel;
};

bool ChooseLayout(const tPixelFormat& format, uint64_t width, uint64_t height, tLayout& outLayout)
{
    const uint64_t pixels = width * height;
    const bool bAlpha = (format.dwFlags & (DDPF_ALPHAPIXELS | DDPF_ALPHA)) != 0;
    if (format.dwFlags & DDPF_FOURCC)
    {
        if (format.dwFourCC == FOURCC_DXT1)
            outLayout = {FORMAT_DXT1, pixels >> 1, 8, 0};
        else if (format.dwFourCC == FOURCC_DXT5)
            outLayout = {FORMAT_DXT5, pixels, 16, 0};
        else
            return false;
        return true;
    }
    if (format.dwFlags & DDPF_RGB)
        outLayout = bAlpha ? tLayout{FORMAT_RGBA, KvSaturatingMultiply(pixels, 4), 1, 4}
                           : tLayout{FORMAT_RGB, KvSaturatingMultiply(pixels, 3), 1, 3};
    else if (format.dwFlags & DDPF_LUMINANCE)
        outLayout = bAlpha ? tLayout{FORMAT_G8R8, KvSaturatingMultiply(pixels, 2), 1, 0}
                           : tLayout{FORMAT_R8, pixels, 1, 0};
    else
        return false;
    return true;
}

bool NeedsReordering(const tLayout& layout, const tPixelFormat& format)
{
    const bool bRedGreenBlue =
        format.dwRBitMask == 0x000000FF && format.dwGBitMask == 0x0000FF00 && format.dwBBitMask == 0x00FF0000;
    if (layout.m_eFormat == FORMAT_RGB)
        return !bRedGreenBlue;
    if (layout.m_eFormat == FORMAT_RGBA)
        return !bRedGreenBlue || format.dwABitMask != 0xFF000000;
    return false;
}

// The shift that brings a channel mask's lowest bit to bit 0; a zero mask gives 0 anyway.
uint32_t LowestBit(uint32_t mask)
{
    return mask ? static_cast<uint32_t>(std::countr_zero(mask)) : 0;
}

// Rewrites whole pixels in place as red, green, blue (and alpha) in byte order; a partial last
// pixel stays as read. Each channel is its masked bits shifted down and cut to a byte, which
// covers both the byte permutations of the common BGRA and BGR layouts and odd masks, and which
// the compiler turns into vector operations on 4-byte pixels.
template <uint32_t kBytesPerPixel>
void ReorderPixels(uint8_t* pBytes, size_t byteCount, const tPixelFormat& format)
{
    const uint32_t masks[4] = {format.dwRBitMask, format.dwGBitMask, format.dwBBitMask, format.dwABitMask};
    uint32_t shifts[4] = {};
    for (uint32_t channel = 0; channel < 4; ++channel)
        shifts[channel] = LowestBit(masks[channel]);
    const size_t pixelCount = byteCount / kBytesPerPixel;
    size_t pixel = 0;
    if constexpr (kBytesPerPixel == 4)
    {
        static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");
        // Groups of a fixed count of words let the compiler vectorise without a remainder loop.
        constexpr size_t kGroupPixels = 16;
        for (; pixel + kGroupPixels <= pixelCount; pixel += kGroupPixels)
        {
            uint32_t words[kGroupPixels];
            std::memcpy(words, pBytes + pixel * 4, sizeof(words));
            for (uint32_t& word : words)
            {
                const uint32_t value = word;
                word = ((value & masks[0]) >> shifts[0] & 0xFF) |
                       ((value & masks[1]) >> shifts[1] & 0xFF) << 8 |
                       ((value & masks[2]) >> shifts[2] & 0xFF) << 16 |
                       ((value & masks[3]) >> shifts[3] & 0xFF) << 24;
            }
            std::memcpy(pBytes + pixel * 4, words, sizeof(words));
        }
    }
    for (; pixel < pixelCount; ++pixel)
    {
        uint8_t* pPixel = pBytes + pixel * kBytesPerPixel;
        uint32_t value = 0;
        for (uint32_t index = 0; index < kBytesPerPixel; ++index)
            value |= uint32_t(pPixel[index]) << (8 * index);
        for (uint32_t channel = 0; channel < kBytesPerPixel; ++channel)
            pPixel[channel] = static_cast<uint8_t>((value & masks[channel]) >> shifts[channel]);
    }
}

// Bytes read and reordered at a time: whole pixels of 3 and 4 bytes that stay in the cache
// between the copy and the reorder, so that the pixels cross memory once.
constexpr size_t kReorderBlockBytes = 12 * 4096;

// Reads a mip's bytes, reordering them block by block when the layout asks for it.
void ReadPixels(KvIOStream& source, std::vector<uint8_t>& pixels, const tLayout& layout, bool bReorder,
                const tPixelFormat& format)
{
    if (!bReorder)
    {
        source.Read(pixels.data(), pixels.size());
        return;
    }
    for (size_t offset = 0; offset < pixels.size(); offset += kReorderBlockBytes)
    {
        const size_t length = std::min(kReorderBlockBytes, pixels.size() - offset);
        source.Read(pixels.data() + offset, length);
        if (layout.m_ulBytesPerPixel == 4)
            ReorderPixels<4>(pixels.data() + offset, length, format);
        else
            ReorderPixels<3>(pixels.data() + offset, length, format);
    }
}

// The bytes of mip level m: the base size shifted right by 2m, at least the minimum size.
uint64_t MipSize(const tLayout& layout, uint32_t mip)
{
    const uint64_t shifted = 2ull * mip >= 64 ? 0 : layout.m_ulBaseSize >> (2ull * mip);
    return shifted < layout.m_ulMinimumLevelSize ? layout.m_ulMinimumLevelSize : shifted;
}

// The header's mip count, at least 1 and at most the full chain of the larger side (so at
// most 32): levels beyond 1x1 hold nothing a valid file has.
uint32_t MipCount(const tHeader& header)
{
    const uint32_t fullChain =
        static_cast<uint32_t>(std::bit_width(std::max(header.dwWidth, header.dwHeight)));
    return std::clamp<uint32_t>(header.dwMipMapCount, 1, std::max<uint32_t>(fullChain, 1));
}
} // namespace

const KvResourceDescriptor* KvResourceImporter_DDS::GetResourceType() const
{
    return KvResourcePlugin_Core_Texture::GetStaticDescriptor();
}

void* KvResourceImporter_DDS::ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void*)
{
    tFileStart start;
    std::memset(&start, 0, sizeof(start));
    pSource->Read(&start, sizeof(start));
    const tHeader& header = start.header;

    KvImportedData<KvProjectData_Core_Raw_Texture> texture;
    texture->m_strName = pResource ? pResource->GetName() : "";
    texture->m_ulWidth = header.dwWidth;
    texture->m_ulHeight = header.dwHeight;

    tLayout layout{};
    if (!ChooseLayout(header.ddspf, header.dwWidth, header.dwHeight, layout))
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Texture format not handled for file %s",
                    pSource->GetName());
        return nullptr;
    }
    texture->m_eFormat = layout.m_eFormat;
    const bool bReorder = NeedsReordering(layout, header.ddspf);

    texture->m_eDims = (header.dwCaps2 & DDSCAPS2_CUBEMAP) ? 3 : 1;
    const uint32_t faceCount = texture->m_eDims == 3 ? 6 : 1;
    texture->m_ulDepth = faceCount;
    const uint32_t mipCount = MipCount(header);

    // A header can claim far more pixels than the file holds; such claims are refused
    // before anything is allocated.
    const uint64_t remaining = KvRemainingBytes(*pSource);
    const uint64_t allowed =
        KvSaturatingAdd(KvSaturatingMultiply(remaining, kMaxClaimFactor), kClaimMarginBytes);
    uint64_t claimed = 0;
    for (uint32_t mip = 0; mip < mipCount; ++mip)
        claimed = KvSaturatingAdd(claimed, KvSaturatingMultiply(MipSize(layout, mip), faceCount));
    if (claimed > allowed)
    {
        KvLogReport(
            kKvLogLevelWarning, KV_REPORT_SITE,
            "Texture data of file %s claims more than the %llu bytes allowed for the %llu bytes it holds",
            pSource->GetName(), static_cast<unsigned long long>(allowed),
            static_cast<unsigned long long>(remaining));
        return nullptr;
    }

    auto* pPayload = KvCreateData<KvProjectData_Core_Raw_Texture_Payload>();
    payload = pPayload;
    pPayload->m_aLevels.resize(faceCount);
    for (KvProjectData_Core_Raw_Texture_Level& level : pPayload->m_aLevels)
    {
        level.m_aMips.resize(mipCount);
        for (uint32_t mip = 0; mip < mipCount; ++mip)
        {
            std::vector<uint8_t>& pixels = level.m_aMips[mip].m_aPixelData;
            pixels.resize(MipSize(layout, mip));
            ReadPixels(*pSource, pixels, layout, bReorder, header.ddspf);
        }
    }
    return texture.Release();
}
