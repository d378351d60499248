// JSON store throughput on imported data: saving straight to text beside building the
// document and dumping it, loading beside the bare parse of the same text.
#include "IO/KvIOStream_Memory.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace
{
std::string FontText()
{
    std::string text = "<font><info size=\"32\"/><common scaleW=\"1024\" scaleH=\"1024\"/>"
                       "<pages><page id=\"0\" file=\"f.dds\"/></pages><chars count=\"5000\">";
    for (int index = 0; index < 5000; ++index)
        text +=
            "<char id=\"" + std::to_string(index) + "\" x=\"" + std::to_string(index % 1000) +
            "\" y=\"12\" width=\"8\" height=\"16\" xoffset=\"1\" yoffset=\"2\" xadvance=\"9\" page=\"0\"/>";
    return text + "</chars></font>";
}

std::string InputText()
{
    std::string text = "<Input>";
    for (int set = 0; set < 1000; ++set)
        text +=
            "<ElementSet name=\"Set" + std::to_string(set) +
            "\"><Element type=\"button\" button=\"BUTTON_A\"/><Element type=\"key\" button=\"space\"/>"
            "<Element type=\"analog\" control=\"ANALOGCONTROL_MOUSE_X\" trigger_value=\"0.5\"/></ElementSet>";
    for (int command = 0; command < 1000; ++command)
        text += "<Input name=\"C" + std::to_string(command) + "\" typematic=\"yes\"><Set name=\"Set" +
                std::to_string(command) + "\"/></Input>";
    return text + "</Input>";
}

std::string StringTableText()
{
    std::string text;
    for (int entry = 0; entry < 20000; ++entry)
        text += "MENU_ENTRY_" + std::to_string(entry) + "=Some text of the menu\\nin two lines\r\n";
    return text;
}

// The raw data one import of the text makes, released with the fixture.
class Imported
{
public:
    Imported(KvResourceImporter& importer, const std::string& text)
        : m_pType(importer.GetResourceType()->GetRootDataType())
    {
        std::vector<uint8_t> bytes(text.begin(), text.end());
        KvResource resource;
        resource.SetName("bench");
        KvIOStream_Memory stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
        void* pPayload = nullptr;
        m_pObject = importer.ConvertToRaw(pPayload, &resource, &stream, nullptr);
        if (pPayload)
            KvReflectionInterface::GetInstance()->DestroyObject(
                importer.GetResourceType()->GetPayloadDataType(), pPayload);
    }
    ~Imported() { KvReflectionInterface::GetInstance()->DestroyObject(m_pType, m_pObject); }

    const KvReflectedDataType* m_pType;
    void* m_pObject = nullptr;
};

std::unique_ptr<Imported> ImportSample(int64_t sample)
{
    static KvResourceImporter_Font font;
    static KvResourceImporter_InputTranslator input;
    static KvResourceImporter_i18n table;
    switch (sample)
    {
    case 0:
        return std::make_unique<Imported>(font, FontText());
    case 1:
        return std::make_unique<Imported>(input, InputText());
    default:
        return std::make_unique<Imported>(table, StringTableText());
    }
}

void SampleArguments(benchmark::internal::Benchmark* pBenchmark)
{
    pBenchmark->ArgNames({"font0_input1_table2"})->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
}

void BM_SaveThroughDocument(benchmark::State& state)
{
    const auto pSample = ImportSample(state.range(0));
    size_t bytes = 0;
    for (auto _ : state)
    {
        const std::string text = KvJsonStore::Save(pSample->m_pType, pSample->m_pObject).dump(2);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_SaveThroughDocument)->Apply(SampleArguments);

// Counts what it is given and keeps nothing, so that only the writing is measured.
class CountingBuffer : public std::streambuf
{
public:
    size_t m_uiBytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize size) override
    {
        m_uiBytes += static_cast<size_t>(size);
        return size;
    }
    int_type overflow(int_type character) override
    {
        ++m_uiBytes;
        return traits_type::not_eof(character);
    }
};

void BM_SaveAsText(benchmark::State& state)
{
    const auto pSample = ImportSample(state.range(0));
    CountingBuffer buffer;
    std::ostream out(&buffer);
    for (auto _ : state)
        KvJsonStore::SaveText(out, pSample->m_pType, pSample->m_pObject);
    state.SetBytesProcessed(static_cast<int64_t>(buffer.m_uiBytes));
}
BENCHMARK(BM_SaveAsText)->Apply(SampleArguments);

void BM_Load(benchmark::State& state)
{
    const auto pSample = ImportSample(state.range(0));
    const KvJsonStore::Json document = KvJsonStore::Save(pSample->m_pType, pSample->m_pObject);
    for (auto _ : state)
    {
        void* pLoaded = KvJsonStore::Load(pSample->m_pType, document, "bench");
        benchmark::DoNotOptimize(pLoaded);
        KvReflectionInterface::GetInstance()->DestroyObject(pSample->m_pType, pLoaded);
    }
}
BENCHMARK(BM_Load)->Apply(SampleArguments);

void BM_ParseOfTheSavedText(benchmark::State& state)
{
    const auto pSample = ImportSample(state.range(0));
    const std::string text = KvJsonStore::Save(pSample->m_pType, pSample->m_pObject).dump(2);
    for (auto _ : state)
        benchmark::DoNotOptimize(KvJsonStore::Json::parse(text).size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseOfTheSavedText)->Apply(SampleArguments);
} // namespace
