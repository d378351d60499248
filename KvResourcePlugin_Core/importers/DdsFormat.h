#pragma once

#include <cstdint>

// The DDS file layout as the texture importer reads it.
namespace DdsFormat
{
struct tPixelFormat
{
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwFourCC;
    uint32_t dwRGBBitCount;
    uint32_t dwRBitMask;
    uint32_t dwGBitMask;
    uint32_t dwBBitMask;
    uint32_t dwABitMask;
};
static_assert(sizeof(tPixelFormat) == 32, "the DDS pixel format is 32 bytes");

struct tHeader
{
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwHeight;
    uint32_t dwWidth;
    uint32_t dwPitchOrLinearSize;
    uint32_t dwDepth;
    uint32_t dwMipMapCount;
    uint32_t dwReserved1[11];
    tPixelFormat ddspf;
    uint32_t dwCaps;
    uint32_t dwCaps2;
    uint32_t dwCaps3;
    uint32_t dwCaps4;
    uint32_t dwReserved2;
};
static_assert(sizeof(tHeader) == 124, "the DDS header is 124 bytes");

// The signature and the header, as read in one piece.
struct tFileStart
{
    uint32_t dwMagic;
    tHeader header;
};
static_assert(sizeof(tFileStart) == 128, "the signature and header are 128 bytes");

inline constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
inline constexpr uint32_t DDPF_ALPHA = 0x2;
inline constexpr uint32_t DDPF_FOURCC = 0x4;
inline constexpr uint32_t DDPF_RGB = 0x40;
inline constexpr uint32_t DDPF_LUMINANCE = 0x20000;
inline constexpr uint32_t DDSCAPS2_CUBEMAP = 0x200;
inline constexpr uint32_t FOURCC_DXT1 = 0x31545844;
inline constexpr uint32_t FOURCC_DXT5 = 0x35545844;
} // namespace DdsFormat
