#include "IO/KvIOStream_Memory.h"
#include "importers/DdsFormat.h"
#include "importers/KvHeapPeak.h"
#include "importers/KvImporterTestSupport.h"
#include "importers/KvResourceImporter_ADPCM.h"
#include "importers/KvResourceImporter_DDS.h"
#include "importers/KvResourceImporter_Font.h"
#include "importers/KvResourceImporter_InputTranslator.h"
#include "importers/KvResourceImporter_Interface.h"
#include "importers/KvResourceImporter_ShaderBin.h"
#include "importers/KvResourceImporter_i18n.h"
#include "support/KvTestReports.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace
{
// What an import may hold beyond ten times its source.
constexpr uint64_t kAllowance = 4 * 1024 * 1024;
// Sources of a few MB: large against the allowance, small enough for every run of the suite.
constexpr size_t kSourceBytes = 3 * 1024 * 1024;

std::vector<uint8_t> Repeat(const std::string& head, const std::string& unit, const std::string& tail)
{
    std::string text = head;
    while (text.size() + unit.size() + tail.size() <= kSourceBytes)
        text += unit;
    return BytesOf(text + tail);
}

std::vector<uint8_t> DdsHeader(uint32_t width, uint32_t height, uint32_t mips, uint32_t flags)
{
    ByteWriter writer;
    writer.U32(0x20534444).U32(124).U32(0).U32(height).U32(width).U32(0).U32(0).U32(mips).Zeros(44);
    writer.U32(32).U32(flags).U32(0).U32(32).U32(0xFF).U32(0xFF00).U32(0xFF0000).U32(0xFF000000);
    return writer.Zeros(20).m_aBytes;
}

// Passes of the smallest form: version 3, no name or blocks, seven stages without items.
std::vector<uint8_t> ManySmallPasses()
{
    ByteWriter pass;
    pass.U8(3).U32(0xFFFFFFFF).U32(0xFFFFFFFF).U32(0xFFFFFFFF).Zeros(91);
    pass.Zeros(4 * 17).U32(0).Zeros(3 * 17);
    const uint32_t passCount = static_cast<uint32_t>(kSourceBytes / pass.m_aBytes.size());
    ByteWriter file;
    file.U32(1).U32(0).U32(0).U32(KvResourceImporter_ShaderBin::kShaderChunkId);
    file.U32(static_cast<uint32_t>(4 + passCount * pass.m_aBytes.size())).U32(passCount);
    for (uint32_t index = 0; index < passCount; ++index)
        file.Bytes(pass.m_aBytes);
    return file.U32(0).U32(KvResourceImporter_ShaderBin::kShaderChunkId).U32(0xFFFFFFFF).m_aBytes;
}

const std::string kFontHead = "<font><info size=\"32\"/><common scaleW=\"256\" scaleH=\"256\"/>"
                              "<pages><page id=\"0\" file=\"f.dds\"/></pages><chars count=\"1\">";
const std::string kFontTail = "</chars></font>";

// The most the import of the bytes held at once, the released result included.
uint64_t ImportPeak(KvResourceImporter& importer, std::vector<uint8_t>& bytes, const char* resourceName)
{
    KvResource resource;
    resource.SetName(resourceName);
    KvIOStream_Memory stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    const KvResourceDescriptor* pDescriptor = importer.GetResourceType();
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    KvHeapPeak::Reset();
    void* pPayload = nullptr;
    if (void* pRaw = importer.ConvertToRaw(pPayload, &resource, &stream, nullptr))
        pRegistry->DestroyObject(pDescriptor->GetRootDataType(), pRaw);
    if (pPayload)
        pRegistry->DestroyObject(pDescriptor->GetPayloadDataType(), pPayload);
    return KvHeapPeak::GetRise();
}
} // namespace

// Whatever a source holds, importing it takes at most ten times its size plus the allowance:
// the shapes below are the cheapest per byte to write and the dearest to build.
TEST(ImportMemory, WorstSourcesOfEachImporter_WithinTenTimesTheirSize)
{
    using Factory = std::function<std::unique_ptr<KvResourceImporter>()>;
    const Factory dds = []
    {
        return std::make_unique<KvResourceImporter_DDS>();
    };
    const Factory font = []
    {
        return std::make_unique<KvResourceImporter_Font>();
    };
    const Factory input = []
    {
        return std::make_unique<KvResourceImporter_InputTranslator>();
    };
    const Factory table = []
    {
        return std::make_unique<KvResourceImporter_i18n>();
    };
    std::vector<uint8_t> halfTexture = DdsHeader(1024, 1024, 1, DdsFormat::DDPF_RGB | DdsFormat::DDPF_ALPHA);
    halfTexture.resize(halfTexture.size() + 2 * 1024 * 1024, 7);
    struct
    {
        const char* m_Name;
        Factory m_Importer;
        std::vector<uint8_t> m_aBytes;
    } rows[] = {
        {"DDS: a million mips of 1x1", dds, DdsHeader(1, 1, 1000000, DdsFormat::DDPF_RGB)},
        {"DDS: half the pixels it claims", dds, halfTexture},
        {"font: a node every 12 bytes", font, Repeat(kFontHead, "<a/>        ", kFontTail)},
        {"font: chars of ten attributes", font,
         Repeat(kFontHead,
                "<char id=\"9\" x=\"1\" y=\"2\" width=\"3\" height=\"4\" xoffset=\"5\" yoffset=\"6\" "
                "xadvance=\"7\" page=\"0\" chnl=\"15\"/>",
                kFontTail)},
        {"input: element sets", input, Repeat("<i>", "<ElementSet/>", "</i>")},
        {"input: commands", input, Repeat("<i>", "<Input/>    ", "</i>")},
        {"input: typematic commands", input, Repeat("<i>", "<Input typematic='1'/>", "</i>")},
        {"input: elements of a set", input,
         Repeat("<i><ElementSet>", "<Element type='key'/>", "</ElementSet></i>")},
        {"input: set references", input,
         Repeat("<i><ElementSet/><Input>", "<Set name=''/>     ", "</Input></i>")},
        {"input: controller buttons", input, Repeat("<i><Controller>", "<Button/>   ", "</Controller></i>")},
        {"string table: empty entries", table, Repeat("", "=\r\n", "")},
        {"string table: short entries", table, Repeat("", "ab=cd\r\n", "")},
        {"string table: long entries", table,
         Repeat("", "MENU_OPTIONS_TITLE=Options of the game menu\r\n", "")},
        {"shader: the smallest passes", [] { return std::make_unique<KvResourceImporter_ShaderBin>(); },
         ManySmallPasses()},
        {"wave", [] { return std::make_unique<KvResourceImporter_ADPCM>(); },
         std::vector<uint8_t>(kSourceBytes)},
        {"interface", [] { return std::make_unique<KvResourceImporter_Interface>(); },
         std::vector<uint8_t>(kSourceBytes)},
    };
    for (auto& row : rows)
    {
        const std::unique_ptr<KvResourceImporter> importer = row.m_Importer();
        const uint64_t peak = ImportPeak(*importer, row.m_aBytes, "en_us");
        EXPECT_LE(peak, 10 * row.m_aBytes.size() + kAllowance)
            << row.m_Name << ": " << peak << " bytes held importing " << row.m_aBytes.size();
    }
}
