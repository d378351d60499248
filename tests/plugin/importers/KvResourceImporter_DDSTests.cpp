#include "projectdata/KvProjectData_Core_Texture.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvTestData.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <bit>
#include <gtest/gtest.h>
#include <map>

using namespace DdsFormat;

namespace
{
using Texture = KvProjectData_Core_Raw_Texture;
using Payload = KvProjectData_Core_Raw_Texture_Payload;
using Json = nlohmann::ordered_json;

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

// A header as tests/data/dds/cases.json describes it: size, mip count, pixel-format flags by name,
// FourCC, channel masks in hex, cube map.
tDds DdsFrom(const Json& header)
{
    static const std::map<std::string, uint32_t> kFlags = {{"RGB", DDPF_RGB},
                                                           {"ALPHAPIXELS", DDPF_ALPHAPIXELS},
                                                           {"ALPHA", DDPF_ALPHA},
                                                           {"LUMINANCE", DDPF_LUMINANCE}};
    tDds dds{header["size"][0], header["size"][1], header["mips"], 0};
    for (const Json& flag : header.value("flags", Json::array()))
        dds.m_ulFlags |= kFlags.at(flag);
    if (header.contains("fourCC"))
    {
        dds.m_ulFlags |= DDPF_FOURCC;
        dds.m_ulFourCC = header["fourCC"] == "DXT1" ? FOURCC_DXT1 : FOURCC_DXT5;
    }
    for (size_t channel = 0; channel < header.value("masks", Json::array()).size(); ++channel)
        dds.m_aMasks[channel] = std::stoul(header["masks"][channel].get<std::string>(), nullptr, 16);
    dds.m_ulCaps2 = header.value("cube", false) ? DDSCAPS2_CUBEMAP : 0;
    return dds;
}

Json Cases(const char* table)
{
    return TestDataTable("dds/cases.json", table);
}

std::vector<size_t> MipSizes(const Payload& payload, size_t level)
{
    std::vector<size_t> sizes;
    for (const KvProjectData_Core_Raw_Texture_Mip& mip : payload.m_aLevels[level].m_aMips)
        sizes.push_back(mip.m_aPixelData.size());
    return sizes;
}
} // namespace

// Uncompressed pixels come out as RGBA, RGB, G8R8 or R8 bytes in that order, whatever order and
// width the masks give them; compressed blocks are kept. One mip each.
TEST(DdsImport, PixelFormats_ChannelsInRgbaOrder)
{
    KvResourceImporter_DDS importer;
    for (const Json& row : Cases("pixelFormats"))
    {
        SCOPED_TRACE(row["name"].get<std::string>());
        ImportRun run(importer, MakeDds(DdsFrom(row["header"]), row["pixels"]));
        ASSERT_NE(run.Raw<Texture>(), nullptr);
        EXPECT_STREQ(g_Converter_TextureFormat.ToString(run.Raw<Texture>()->m_eFormat),
                     row["format"].get<std::string>().c_str());
        ASSERT_EQ(run.Payload<Payload>()->m_aLevels[0].m_aMips.size(), 1u);
        EXPECT_EQ(run.Payload<Payload>()->m_aLevels[0].m_aMips[0].m_aPixelData, row["stored"]);
    }
}

// Headers whose claims the file cannot back are refused before anything is allocated, whatever
// their arithmetic would wrap to; mip counts beyond the dimensions' full chain are cut to it,
// and a short file reads zeros.
TEST(DdsImport, BadHeaders_RefusedOrBoundedByTheFile)
{
    KvResourceImporter_DDS importer;
    for (const Json& row : Cases("badHeaders"))
    {
        SCOPED_TRACE(row["name"].get<std::string>());
        const size_t pixelBytes = row["pixelBytes"];
        RecordingLog log;
        ImportRun run(importer, MakeDds(DdsFrom(row["header"]), std::vector<uint8_t>(pixelBytes, 9)));
        if (row["mipSizes"].empty())
        {
            EXPECT_EQ(run.Raw<Texture>(), nullptr);
            EXPECT_EQ(run.Payload<Payload>(), nullptr);
            ASSERT_EQ(log.m_aEntries.size(), 1u);
            EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                        ContainsReportFrom(
                            "importers\\KvResourceImporter_DDS", "KvResourceImporter_DDS::ConvertToRaw",
                            "Texture data of file KvIOStream_Memory claims more than the 1048576 "
                            "bytes allowed for the 0 bytes it holds"));
            continue;
        }
        ASSERT_NE(run.Raw<Texture>(), nullptr);
        EXPECT_EQ(MipSizes(*run.Payload<Payload>(), 0), row["mipSizes"]);
        const std::vector<uint8_t>& top = run.Payload<Payload>()->m_aLevels[0].m_aMips[0].m_aPixelData;
        EXPECT_EQ(top.back(), top.size() > pixelBytes ? 0 : 9);
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

// Pixels larger than one block of the reorder, in whole-byte and odd masks, 4 and 3 bytes wide:
// every whole pixel of every mip holds each channel's masked bits shifted down to bit 0.
TEST(DdsImport, LargeReorderedMips_EachPixelByItsMasks)
{
    struct tReorderCase
    {
        uint32_t m_ulFlags;
        uint32_t m_ulBytesPerPixel;
        uint32_t m_aMasks[4];
    };
    const tReorderCase cases[] = {
        {DDPF_RGB | DDPF_ALPHAPIXELS, 4, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}},
        {DDPF_RGB | DDPF_ALPHAPIXELS, 4, {0x00000FF0, 0x000FF000, 0x0FF00000, 0xF000000F}},
        {DDPF_RGB, 3, {0x00FF0000, 0x0000FF00, 0x000000FF, 0}},
    };
    KvResourceImporter_DDS importer;
    for (const tReorderCase& reorder : cases)
    {
        tDds dds{150, 150, 3, reorder.m_ulFlags};
        std::copy(std::begin(reorder.m_aMasks), std::end(reorder.m_aMasks), dds.m_aMasks);
        std::vector<uint8_t> pixels(150 * 150 * reorder.m_ulBytesPerPixel * 4 / 3);
        uint32_t seed = 7;
        for (uint8_t& byte : pixels)
            byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
        ImportRun run(importer, MakeDds(dds, pixels));
        ASSERT_NE(run.Payload<Payload>(), nullptr);
        size_t offset = 0;
        for (const KvProjectData_Core_Raw_Texture_Mip& mip : run.Payload<Payload>()->m_aLevels[0].m_aMips)
        {
            const std::vector<uint8_t>& stored = mip.m_aPixelData;
            for (size_t pixel = 0; pixel + reorder.m_ulBytesPerPixel <= stored.size();
                 pixel += reorder.m_ulBytesPerPixel)
            {
                uint32_t value = 0;
                for (uint32_t index = 0; index < reorder.m_ulBytesPerPixel; ++index)
                    value |= uint32_t(pixels[offset + pixel + index]) << (8 * index);
                for (uint32_t channel = 0; channel < reorder.m_ulBytesPerPixel; ++channel)
                {
                    const uint32_t mask = reorder.m_aMasks[channel];
                    ASSERT_EQ(stored[pixel + channel], uint8_t((value & mask) >> std::countr_zero(mask)))
                        << "pixel byte " << pixel << " of a mip of " << stored.size();
                }
            }
            offset += stored.size();
        }
    }
}
