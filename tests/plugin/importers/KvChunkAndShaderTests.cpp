#include "Foundation/KvError_Globals.h"
#include "Foundation/KvFatalError.h"
#include "IO/KvIOStream_Memory.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

namespace
{
constexpr const char* kChunkFile = "importers\\KvChunkFileWrapper";
constexpr uint32_t kShaderChunk = 0x53484452;

ByteWriter& OpenChunk(ByteWriter& writer, int32_t depth, uint32_t id, uint32_t length)
{
    return writer.U32(static_cast<uint32_t>(depth)).U32(id).U32(length);
}

ByteWriter& CloseChunk(ByteWriter& writer, int32_t depth, uint32_t id)
{
    return writer.U32(static_cast<uint32_t>(depth)).U32(id);
}

// Header; chunk 1 (holding chunk 9); chunk 2 holding "abc" and 7; end of list.
std::vector<uint8_t> SiblingChunks()
{
    ByteWriter writer;
    writer.U32(0).U32(0);
    OpenChunk(writer, 0, 1, 4 + 20);
    writer.U32(0xAAAAAAAA);
    OpenChunk(writer, 1, 9, 0);
    CloseChunk(writer, 1, 9);
    CloseChunk(writer, 0, 1);
    OpenChunk(writer, 0, 2, 7 + 4);
    writer.String("abc").U32(7);
    CloseChunk(writer, 0, 2);
    return writer.U32(0xFFFFFFFF).m_aBytes;
}

// Runs the reader over bytes; the stream lives as long as the reader.
struct ReaderRun
{
    explicit ReaderRun(std::vector<uint8_t> bytes)
        : m_aBytes(std::move(bytes)), m_Stream(m_aBytes.data(), Size())
    {
    }
    uint32_t Size() const { return static_cast<uint32_t>(m_aBytes.size()); }

    std::vector<uint8_t> m_aBytes;
    KvIOStream_Memory m_Stream;
};

// A stage record that ends right after its marker.
void ShortStage(ByteWriter& writer)
{
    writer.U8(0).U32(0).U32(0).U32(0).U32(0);
}

// A stage record with one item, the 0xFFFFFFFF marker, one entry and a skip length.
void FullStage(ByteWriter& writer)
{
    writer.U8(1).U32(2).U32(3).U32(1).Zeros(37).U8(0).U32(0).String("tex").U32(0xFFFFFFFF);
    writer.U32(0xFFFFFFFF).U8(1).U32(1).U32(2).Zeros(2).Zeros(12).U8(0).U32(3).Zeros(3);
}

void Pass(ByteWriter& writer, uint8_t version, const std::string& name, bool bFullStages)
{
    writer.U8(version).String(name).U32(0xFFFFFFFF).U32(2).Zeros(2);
    writer.Zeros(8 + 16 + 17 + 25 + 15 + 2 + 8);
    auto stages = [&](int count)
    {
        for (int stage = 0; stage < count; ++stage)
            bFullStages ? FullStage(writer) : ShortStage(writer);
    };
    // Four stages, a u32 from version 2 on, two more stages always, a seventh from version 3.
    stages(4);
    if (version >= 2)
        writer.U32(0);
    stages(2);
    if (version >= 3)
        stages(1);
}

std::vector<uint8_t> ShaderFile(const std::vector<uint8_t>& passes, uint32_t passCount)
{
    ByteWriter writer;
    writer.U32(1).U32(0);
    OpenChunk(writer, 0, kShaderChunk, static_cast<uint32_t>(4 + passes.size()));
    writer.U32(passCount).Bytes(passes);
    CloseChunk(writer, 0, kShaderChunk);
    return writer.U32(0xFFFFFFFF).m_aBytes;
}

std::vector<std::string> PassNames(const KvProjectData_Core_Raw_Shader& shader)
{
    std::vector<std::string> names;
    for (const KvCompiledShaderPass_Ref* pPass : shader.m_apShaders)
        names.push_back(pPass->m_strName);
    return names;
}
} // namespace

// A push skips siblings and the chunks nested in them; a pop lands after the end marker, however
// much of the chunk was read.
TEST(ChunkReader, PushSkipsSiblingsPopSkipsTheRest)
{
    ReaderRun run(SiblingChunks());
    KvChunkFileWrapper reader(&run.m_Stream);
    ASSERT_TRUE(reader.PushChunk(2));
    std::string text;
    reader.ReadString(text);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(reader.ReadInt(), 7u);
    EXPECT_TRUE(reader.PopChunk());
    EXPECT_FALSE(reader.PushChunk(KvChunkFileWrapper::kAnyChunk));

    ReaderRun again(SiblingChunks());
    KvChunkFileWrapper partial(&again.m_Stream);
    ASSERT_TRUE(partial.PushChunk(KvChunkFileWrapper::kAnyChunk));
    EXPECT_EQ(partial.ReadInt(), 0xAAAAAAAAu);
    ASSERT_TRUE(partial.PushChunk(9));
    EXPECT_TRUE(partial.PopChunk());
    EXPECT_TRUE(partial.PopChunk());
    ASSERT_TRUE(partial.PushChunk(2));
    EXPECT_TRUE(partial.PopChunk());
    EXPECT_FALSE(partial.PushChunk(42));
}

TEST(ChunkReader, StringsAndPrimitives)
{
    ByteWriter writer;
    writer.U32(0).U32(0).U32(0xFFFFFFFF).U32(0).U8(200).U32(0x3FC00000);
    ReaderRun run(writer.m_aBytes);
    KvChunkFileWrapper reader(&run.m_Stream);
    std::string text = "kept?";
    reader.ReadString(text);
    EXPECT_EQ(text, "");
    text = "x";
    reader.ReadString(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(reader.ReadChar(), 200);
    EXPECT_EQ(reader.ReadFloat(), 1.5f);
    EXPECT_FALSE(reader.IsPastEnd());
    reader.ReadInt();
    EXPECT_TRUE(reader.IsPastEnd());
}

// Each inconsistency ends the process with its reason; a host that sets fatal errors to raise gets
// them as exceptions, the one in the reader's destructor included. A failure inside an open chunk
// is the one reported: the unwinding reader adds nothing.
TEST(ChunkReader, Inconsistencies_FatalOrRaisedToTheHost)
{
    const auto chunk5ClosedAs = [](int32_t depth, uint32_t id)
    {
        ByteWriter writer;
        writer.U32(0).U32(0);
        OpenChunk(writer, 0, 5, 0);
        return CloseChunk(writer, depth, id).m_aBytes;
    };
    void (*pushAndPop5)(KvChunkFileWrapper&) = [](KvChunkFileWrapper& reader)
    {
        reader.PushChunk(5);
        reader.PopChunk();
    };
    ByteWriter cutString;
    OpenChunk(cutString.U32(0).U32(0), 0, 5, 0).U32(1000).Text("short");
    const struct
    {
        std::vector<uint8_t> m_aBytes;
        void (*m_pfnRead)(KvChunkFileWrapper& reader);
        const char* m_pFunction;
        const char* m_pMessage;
    } rows[] = {
        {ByteWriter().U32(0).U32(0).U32(1).m_aBytes, [](KvChunkFileWrapper& reader) { reader.PushChunk(1); },
         "KvChunkFileWrapper::PushChunk", "Chunk stack corruption! - wrong stack depth"},
        {chunk5ClosedAs(0, 6), pushAndPop5, "KvChunkFileWrapper::PopChunk",
         "Chunk stack corruption! - wrong chunk id for end"},
        {chunk5ClosedAs(3, 5), pushAndPop5, "KvChunkFileWrapper::PopChunk",
         "Chunk stack corruption! - wrong stack depth"},
        {SiblingChunks(), [](KvChunkFileWrapper& reader) { reader.PopChunk(); },
         "KvChunkFileWrapper::PopChunk", "Internal error - no chunk on stack"},
        {SiblingChunks(), [](KvChunkFileWrapper& reader) { reader.PushChunk(1); },
         "KvChunkFileWrapper::~KvChunkFileWrapper", "Chunks were still open on the stack!"},
        {cutString.m_aBytes,
         [](KvChunkFileWrapper& reader)
         {
             std::string text;
             reader.PushChunk(5);
             reader.ReadString(text);
         },
         "KvChunkFileWrapper::ReadString", "String runs past the end of the data"},
    };
    for (const auto& row : rows)
    {
        const auto read = [&]
        {
            ReaderRun run(row.m_aBytes);
            KvChunkFileWrapper reader(&run.m_Stream);
            row.m_pfnRead(reader);
        };
        EXPECT_FATAL_FROM(read(), kChunkFile, row.m_pFunction, row.m_pMessage);
        EXPECT_THAT(RaisedFatalReport(read), ContainsReportFrom(kChunkFile, row.m_pFunction, row.m_pMessage));
    }
}

TEST(ShaderImport, PassVersionsAndBlockLengthsOrNoPasses)
{
    // Each version's record length differs; a pass read with the wrong stage count leaves
    // the next pass misaligned. Both stage forms are run through every version.
    for (bool bFullStages : {false, true})
    {
        ByteWriter passes;
        Pass(passes, 1, "Opaque", bFullStages);
        Pass(passes, 2, "Skinned", !bFullStages);
        Pass(passes, 3, "AlphaTest", bFullStages);
        Pass(passes, 1, "Shadow", !bFullStages);
        Pass(passes, 8, "Latest", bFullStages);
        const std::vector<uint8_t> file = ShaderFile(passes.m_aBytes, 5);
        KvResourceImporter_ShaderBin importer;
        ImportRun run(importer, file);
        auto* pShader = run.Raw<KvProjectData_Core_Raw_Shader>();
        ASSERT_NE(pShader, nullptr);
        EXPECT_EQ(PassNames(*pShader),
                  (std::vector<std::string>{"Opaque", "Skinned", "AlphaTest", "Shadow", "Latest"}));
        EXPECT_EQ(pShader->m_acShaderBin, file);
    }
    // Without passes the whole file is still kept.
    const std::vector<uint8_t> empty = ShaderFile({}, 0);
    KvResourceImporter_ShaderBin importer;
    ImportRun run(importer, empty);
    ASSERT_NE(run.Raw<KvProjectData_Core_Raw_Shader>(), nullptr);
    EXPECT_TRUE(run.Raw<KvProjectData_Core_Raw_Shader>()->m_apShaders.empty());
    EXPECT_EQ(run.Raw<KvProjectData_Core_Raw_Shader>()->m_acShaderBin, empty);
}

TEST(ShaderImport, BadVersionOrTruncatedRecord_Fatal)
{
    KvResourceImporter_ShaderBin importer;
    ByteWriter badVersion;
    Pass(badVersion, 9, "Future", false);
    EXPECT_FATAL_FROM(ImportRun(importer, ShaderFile(badVersion.m_aBytes, 1)),
                      "importers\\KvResourceImporter_ShaderBin", "KvResourceImporter_ShaderBin::ConvertToRaw",
                      "Invalid version number for shader resource!");
    // A pass count beyond the data: the reader meets the end marker where a name should be.
    ByteWriter one;
    Pass(one, 1, "Only", false);
    EXPECT_FATAL_FROM(ImportRun(importer, ShaderFile(one.m_aBytes, 0xFFFFFFFF)),
                      "importers\\KvChunkFileWrapper", "KvChunkFileWrapper::ReadString",
                      "String runs past the end of the data");
    // A file that stops after the first of two passes: the second record runs off the end.
    ByteWriter cut;
    cut.U32(1).U32(0);
    OpenChunk(cut, 0, kShaderChunk, 1000);
    cut.U32(2);
    Pass(cut, 1, "First", false);
    EXPECT_FATAL_FROM(ImportRun(importer, cut.m_aBytes), "importers\\KvResourceImporter_ShaderBin",
                      "RequireData", "Shader file KvIOStream_Memory ends inside a pass record");
}

// A file stream's size is the file's; one beyond what the shader's 32-bit stream can hold is
// refused from its size alone, before anything is read.
TEST(ShaderImport, Over4GiB_RefusedBeforeReading)
{
    struct HugeFile : KvIOStream_Memory
    {
        using KvIOStream_Memory::KvIOStream_Memory;
        uint64_t GetSize() override { return 1ull << 40; }
        uint64_t Read(void*, uint64_t) override
        {
            ADD_FAILURE() << "a read";
            return 0;
        }
    };
    uint8_t byte = 0;
    HugeFile file(&byte, 1);
    RecordingLog log;
    void* pPayload = nullptr;
    EXPECT_EQ(KvResourceImporter_ShaderBin().ConvertToRaw(pPayload, nullptr, &file, nullptr), nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(log.m_aEntries[0].m_strMessage,
              ExpectedReport("importers\\KvResourceImporter_ShaderBin",
                             "KvResourceImporter_ShaderBin::ConvertToRaw", 121,
                             "Shader file KvIOStream_Memory is larger than 4 GiB"));
}

TEST(ShaderImport, EveryPrefixOfAFile_FailsCleanlyOrImports)
{
    ByteWriter passes;
    Pass(passes, 2, "Skinned", true);
    const std::vector<uint8_t> file = ShaderFile(passes.m_aBytes, 1);
    RaisingFatalErrors raising;
    KvResourceImporter_ShaderBin importer;
    size_t imported = 0;
    for (size_t length = 0; length <= file.size(); ++length)
    {
        RecordingLog log;
        try
        {
            ImportRun run(importer, std::vector<uint8_t>(file.begin(), file.begin() + length));
            imported += run.Raw<KvProjectData_Core_Raw_Shader>() != nullptr;
        }
        catch (const KvStructuredException&)
        {
        }
    }
    // Only the complete file (and its end-of-list marker cut off) import.
    EXPECT_GE(imported, 1u);
    EXPECT_LE(imported, 5u);
}

TEST(ShaderImport, ResourceNames)
{
    KvResourceImporter_ShaderBin importer;
    std::string name = "shaders\\lit.shaderbin\\dx11\\lit.vshaderbin";
    EXPECT_TRUE(importer.ConvertResourceName(name));
    EXPECT_EQ(name, "shaders\\lit");
    std::string plain = "shaders\\lit.vshaderbin";
    EXPECT_FALSE(importer.ConvertResourceName(plain));
    EXPECT_EQ(plain, "shaders\\lit.vshaderbin");
    EXPECT_EQ(importer.GetOriginalFileName("shaders\\lit"), "shaders\\lit.shaderbin\\dx11");
}
