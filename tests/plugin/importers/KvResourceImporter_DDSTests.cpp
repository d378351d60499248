#include "projectdata/KvProjectData_Core_Texture.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvTestFolder.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace DdsFormat;

namespace
{
using Texture = KvProjectData_Core_Raw_Texture;
using Payload = KvProjectData_Core_Raw_Texture_Payload;

struct tDds
{
    uint32_t m_ulWidth = 4;
    uint32_t m_ulHeight = 4;
    uint32_t m_ulMips = 1;
    uint32_t m_ulFlags = DDPF_RGB;
    uint32_t m_ulFourCC = 0;
    uint32_t m_aMasks[4] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    uint32_t m_ulCaps2 = 0;
};

std::vector<uint8_t> MakeDds(const tDds& dds, const std::vector<uint8_t>& pixels)
{
    ByteWriter writer;
    writer.U32(0x20534444)
        .U32(124)
        .U32(0x1007)
        .U32(dds.m_ulHeight)
        .U32(dds.m_ulWidth)
        .U32(0)
        .U32(0)
        .U32(dds.m_ulMips);
    writer.Zeros(44);
    writer.U32(32).U32(dds.m_ulFlags).U32(dds.m_ulFourCC).U32(32);
    for (uint32_t mask : dds.m_aMasks)
        writer.U32(mask);
    writer.U32(0x1000).U32(dds.m_ulCaps2).Zeros(12);
    return writer.Bytes(pixels).m_aBytes;
}

std::vector<size_t> MipSizes(const Payload& payload, size_t level)
{
    std::vector<size_t> sizes;
    for (const KvProjectData_Core_Raw_Texture_Mip& mip : payload.m_aLevels[level].m_aMips)
        sizes.push_back(mip.m_aPixelData.size());
    return sizes;
}
} // namespace

TEST(DdsImport, Dxt1_256Square9Mips_MipSizes)
{
    KvResourceImporter_DDS importer;
    tDds dds{256, 256, 9, DDPF_FOURCC, FOURCC_DXT1};
    ImportRun run(importer, MakeDds(dds, std::vector<uint8_t>(43704, 7)), "textures\\wall");
    ASSERT_NE(run.Raw<Texture>(), nullptr);
    EXPECT_EQ(run.Raw<Texture>()->m_eFormat, FORMAT_DXT1);
    EXPECT_EQ(run.Raw<Texture>()->m_strName, "textures\\wall");
    EXPECT_EQ(run.Raw<Texture>()->m_eDims, 1u);
    ASSERT_EQ(run.Payload<Payload>()->m_aLevels.size(), 1u);
    EXPECT_EQ(MipSizes(*run.Payload<Payload>(), 0),
              (std::vector<size_t>{32768, 8192, 2048, 512, 128, 32, 8, 8, 8}));
    EXPECT_EQ(run.Payload<Payload>()->m_aLevels[0].m_aMips[8].m_aPixelData[0], 7);
}

TEST(DdsImport, Dxt1CubeMap_SixFacesEachWithItsMips)
{
    KvResourceImporter_DDS importer;
    tDds dds{8, 8, 2, DDPF_FOURCC, FOURCC_DXT1};
    dds.m_ulCaps2 = DDSCAPS2_CUBEMAP;
    std::vector<uint8_t> pixels;
    for (uint8_t face = 0; face < 6; ++face)
        pixels.insert(pixels.end(), 32 + 8, face);
    ImportRun run(importer, MakeDds(dds, pixels));
    ASSERT_NE(run.Raw<Texture>(), nullptr);
    EXPECT_EQ(run.Raw<Texture>()->m_eDims, 3u);
    EXPECT_EQ(run.Raw<Texture>()->m_ulDepth, 6u);
    ASSERT_EQ(run.Payload<Payload>()->m_aLevels.size(), 6u);
    // Read face after face.
    EXPECT_EQ(run.Payload<Payload>()->m_aLevels[5].m_aMips[1].m_aPixelData[0], 5);
    EXPECT_EQ(MipSizes(*run.Payload<Payload>(), 3), (std::vector<size_t>{32, 8}));
}

// Uncompressed pixels come out as RGBA, RGB, G8R8 or R8 bytes in that order, whatever order and
// width the masks give them; compressed blocks are kept. One mip each.
TEST(DdsImport, PixelFormats_ChannelsInRgbaOrder)
{
    const uint32_t packed = 0x123u | 0x2A5u << 10 | 0x0FFu << 20 | 0x2u << 30;
    const std::tuple<const char*, tDds, std::vector<uint8_t>, tTextureFormat, std::vector<uint8_t>> rows[] = {
        {"DXT5 without a mip count",
         {8, 4, 0, DDPF_FOURCC, FOURCC_DXT5},
         std::vector<uint8_t>(32, 1),
         FORMAT_DXT5,
         std::vector<uint8_t>(32, 1)},
        {"BGRA",
         {1, 2, 1, DDPF_RGB | DDPF_ALPHAPIXELS, 0, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}},
         {0x30, 0x20, 0x10, 0x40, 0x03, 0x02, 0x01, 0x04},
         FORMAT_RGBA,
         {0x10, 0x20, 0x30, 0x40, 0x01, 0x02, 0x03, 0x04}},
        {"10-bit colours and 2-bit alpha, each shifted down and cut to a byte",
         {1, 1, 1, DDPF_RGB | DDPF_ALPHAPIXELS, 0, {0x000003FF, 0x000FFC00, 0x3FF00000, 0xC0000000}},
         {static_cast<uint8_t>(packed), static_cast<uint8_t>(packed >> 8), static_cast<uint8_t>(packed >> 16),
          static_cast<uint8_t>(packed >> 24)},
         FORMAT_RGBA,
         {0x23, 0xA5, 0xFF, 0x02}},
        {"RGBA in order",
         {2, 1, 1, DDPF_RGB | DDPF_ALPHA},
         {1, 2, 3, 4, 5, 6, 7, 8},
         FORMAT_RGBA,
         {1, 2, 3, 4, 5, 6, 7, 8}},
        {"BGR, three bytes a pixel whatever the bit count",
         {2, 1, 1, DDPF_RGB, 0, {0x00FF0000, 0x0000FF00, 0x000000FF, 0}},
         {3, 2, 1, 6, 5, 4},
         FORMAT_RGB,
         {1, 2, 3, 4, 5, 6}},
        {"luminance with alpha, never reordered",
         {2, 1, 1, DDPF_LUMINANCE | DDPF_ALPHAPIXELS, 0, {0xFF, 0, 0, 0xFF00}},
         {9, 8, 7, 6},
         FORMAT_G8R8,
         {9, 8, 7, 6}},
        {"luminance", {2, 1, 1, DDPF_LUMINANCE}, {1, 2}, FORMAT_R8, {1, 2}},
    };
    KvResourceImporter_DDS importer;
    for (const auto& [name, dds, pixels, format, expected] : rows)
    {
        ImportRun run(importer, MakeDds(dds, pixels));
        ASSERT_NE(run.Raw<Texture>(), nullptr) << name;
        EXPECT_EQ(run.Raw<Texture>()->m_eFormat, format) << name;
        ASSERT_EQ(run.Payload<Payload>()->m_aLevels[0].m_aMips.size(), 1u) << name;
        EXPECT_EQ(run.Payload<Payload>()->m_aLevels[0].m_aMips[0].m_aPixelData, expected) << name;
    }
}

// Headers whose claims the file cannot back are refused before anything is allocated, whatever
// their arithmetic would wrap to; mip counts beyond the dimensions' full chain are cut to it,
// and a short file reads zeros.
TEST(DdsImport, BadHeaders_RefusedOrBoundedByTheFile)
{
    const struct
    {
        const char* m_Name;
        tDds m_Dds;
        size_t m_ulPixelBytes;
        // Empty when refused.
        std::vector<size_t> m_aMipSizes;
    } rows[] = {
        {"cube whose size times 6 wraps 64 bits",
         {2147516416, 4294901761, 1, DDPF_FOURCC, FOURCC_DXT5, {}, DDSCAPS2_CUBEMAP},
         0,
         {}},
        {"RGBA size over 64 bits", {0xFFFFFFFF, 0xFFFFFFFF, 1, DDPF_RGB | DDPF_ALPHA}, 0, {}},
        {"RGB size over 64 bits", {0xFFFFFFFF, 0xFFFFFFFF, 1, DDPF_RGB}, 0, {}},
        {"4 MiB claimed, nothing held", {1024, 1024, 1, DDPF_RGB | DDPF_ALPHA}, 0, {}},
        {"a million mips of 1x1", {1, 1, 1000000, DDPF_RGB}, 3, {3}},
        {"4 billion mips of 4x4", {4, 4, 0xFFFFFFFF, DDPF_FOURCC, FOURCC_DXT1}, 24, {8, 8, 8}},
        {"mips of the wider side", {16, 2, 40, DDPF_LUMINANCE}, 44, {32, 8, 2, 1, 1}},
        {"no pixels at all", {0, 0, 7, DDPF_FOURCC, FOURCC_DXT5}, 16, {16}},
        {"short file", {4, 4, 1, DDPF_RGB | DDPF_ALPHA}, 3, {64}},
    };
    KvResourceImporter_DDS importer;
    for (const auto& row : rows)
    {
        RecordingLog log;
        ImportRun run(importer, MakeDds(row.m_Dds, std::vector<uint8_t>(row.m_ulPixelBytes, 9)));
        if (row.m_aMipSizes.empty())
        {
            EXPECT_EQ(run.Raw<Texture>(), nullptr) << row.m_Name;
            EXPECT_EQ(run.Payload<Payload>(), nullptr) << row.m_Name;
            ASSERT_EQ(log.m_aEntries.size(), 1u) << row.m_Name;
            EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                        ContainsReportFrom(
                            "importers\\KvResourceImporter_DDS", "KvResourceImporter_DDS::ConvertToRaw",
                            "Texture data of file KvIOStream_Memory claims more than the 1048576 bytes "
                            "allowed for the 0 bytes it holds"))
                << row.m_Name;
            continue;
        }
        ASSERT_NE(run.Raw<Texture>(), nullptr) << row.m_Name;
        EXPECT_EQ(MipSizes(*run.Payload<Payload>(), 0), row.m_aMipSizes) << row.m_Name;
        const std::vector<uint8_t>& top = run.Payload<Payload>()->m_aLevels[0].m_aMips[0].m_aPixelData;
        EXPECT_EQ(top.back(), top.size() > row.m_ulPixelBytes ? 0 : 9) << row.m_Name;
    }
}

TEST(DdsImport, TruncatedHeaders_NeverCrash)
{
    KvResourceImporter_DDS importer;
    tDds dds{4, 4, 2, DDPF_FOURCC, FOURCC_DXT1};
    const std::vector<uint8_t> full = MakeDds(dds, std::vector<uint8_t>(16, 3));
    for (size_t length = 0; length <= full.size(); ++length)
    {
        RecordingLog log;
        ImportRun run(importer, std::vector<uint8_t>(full.begin(), full.begin() + length));
        // A header cut before the pixel format leaves no known format.
        EXPECT_EQ(run.Raw<Texture>() != nullptr, length >= 4 + 84) << length;
    }
}

// Real files of public test sets (tests/data/SOURCES.md); a format the importer does not handle
// is refused with the reason and no payload.
TEST(DdsImport, PublicSamples)
{
    const std::filesystem::path folder = std::filesystem::path(KV_TESTDATA_DIR) / "dds";
    const std::tuple<const char*, bool, tTextureFormat, uint32_t> cases[] = {
        {"imagers_dxt5_129x66_mips.dds", true, FORMAT_DXT5, 1},
        {"imagers_a8b8g8r8_129x66_mips.dds", true, FORMAT_RGBA, 1},
        {"imagers_l8_129x66_mips.dds", true, FORMAT_R8, 1},
        {"imagers_cubemap_dxt1_128_mips.dds", true, FORMAT_DXT1, 6},
        {"pillow_uncompressed_la_luminance8_alpha8.dds", true, FORMAT_G8R8, 1},
        {"pillow_dxt3_negative.dds", false, FORMAT_RGB, 0},
        {"pillow_dx10_r8g8b8a8_srgb_negative.dds", false, FORMAT_RGB, 0},
        {"imagers_a8_alphaonly_negative.dds", false, FORMAT_RGB, 0},
    };
    KvResourceImporter_DDS importer;
    for (const auto& [file, imported, format, faces] : cases)
    {
        const std::vector<uint8_t> bytes = BytesOf(ReadFile(folder / file));
        ASSERT_FALSE(bytes.empty()) << file;
        RecordingLog log;
        ImportRun run(importer, bytes);
        ASSERT_EQ(run.Raw<Texture>() != nullptr, imported) << file;
        if (!imported)
        {
            EXPECT_EQ(run.Payload<Payload>(), nullptr) << file;
            ASSERT_EQ(log.m_aEntries.size(), 1u) << file;
            EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                        ContainsReportFrom("importers\\KvResourceImporter_DDS",
                                           "KvResourceImporter_DDS::ConvertToRaw",
                                           "Texture format not handled for file KvIOStream_Memory"))
                << file;
            continue;
        }
        EXPECT_EQ(run.Raw<Texture>()->m_eFormat, format) << file;
        EXPECT_EQ(run.Payload<Payload>()->m_aLevels.size(), faces) << file;
    }
}
