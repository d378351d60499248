// The most each importer holds at once on the sources that are cheapest to write and dearest
// to build, beside its limit: ten times the source's size plus a fixed allowance. A source
// over the limit ends its benchmark with an error.
#include "IO/KvIOStream_Memory.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace
{
std::atomic<uint64_t> g_Held{0};
std::atomic<uint64_t> g_Peak{0};

constexpr uint64_t kAllowance = 4 * 1024 * 1024;
constexpr size_t kSourceBytes = 3 * 1024 * 1024;

std::vector<uint8_t> Repeat(const std::string& head, const std::string& unit, const std::string& tail)
{
    std::string text = head;
    while (text.size() + unit.size() + tail.size() <= kSourceBytes)
        text += unit;
    text += tail;
    return std::vector<uint8_t>(text.begin(), text.end());
}

// A DDS header claiming a million mips of one RGB pixel.
std::vector<uint8_t> MillionMips()
{
    std::vector<uint8_t> header(128, 0);
    const uint32_t fields[][2] = {{0, 0x20534444}, {4, 124}, {12, 1},   {16, 1},
                                  {28, 1000000},   {76, 32}, {80, 0x40}};
    for (const auto& [offset, value] : fields)
        std::memcpy(header.data() + offset, &value, 4);
    return header;
}

// The most the import held at once beyond what was held before, the released result included.
void BM_ImportPeak(benchmark::State& state, std::shared_ptr<KvResourceImporter> pImporter,
                   std::vector<uint8_t> bytes)
{
    KvResourceImporter& importer = *pImporter;
    const KvResourceDescriptor* pDescriptor = importer.GetResourceType();
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    uint64_t peak = 0;
    for (auto _ : state)
    {
        KvResource resource;
        resource.SetName("en_us");
        KvIOStream_Memory stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
        const uint64_t before = g_Peak = g_Held.load();
        void* pPayload = nullptr;
        if (void* pRaw = importer.ConvertToRaw(pPayload, &resource, &stream, nullptr))
            pRegistry->DestroyObject(pDescriptor->GetRootDataType(), pRaw);
        if (pPayload)
            pRegistry->DestroyObject(pDescriptor->GetPayloadDataType(), pPayload);
        peak = std::max<uint64_t>(peak, g_Peak - before);
    }
    const uint64_t limit = 10 * bytes.size() + kAllowance;
    state.counters["source_bytes"] = static_cast<double>(bytes.size());
    state.counters["peak_bytes"] = static_cast<double>(peak);
    state.counters["limit_bytes"] = static_cast<double>(limit);
    if (peak > limit)
        state.SkipWithError("held more than ten times the source plus the allowance");
}

BENCHMARK_CAPTURE(BM_ImportPeak, million_mips, std::make_shared<KvResourceImporter_DDS>(), MillionMips());
BENCHMARK_CAPTURE(BM_ImportPeak, node_every_4_bytes, std::make_shared<KvResourceImporter_Font>(),
                  Repeat("<font><chars count=\"1\">", "<a/>", "</chars></font>"));
BENCHMARK_CAPTURE(BM_ImportPeak, element_sets, std::make_shared<KvResourceImporter_InputTranslator>(),
                  Repeat("<i>", "<ElementSet/>", "</i>"));
BENCHMARK_CAPTURE(BM_ImportPeak, commands, std::make_shared<KvResourceImporter_InputTranslator>(),
                  Repeat("<i>", "<Input/>    ", "</i>"));
BENCHMARK_CAPTURE(BM_ImportPeak, typematic_commands, std::make_shared<KvResourceImporter_InputTranslator>(),
                  Repeat("<i>", "<Input typematic='1'/>", "</i>"));
BENCHMARK_CAPTURE(BM_ImportPeak, elements_of_a_set, std::make_shared<KvResourceImporter_InputTranslator>(),
                  Repeat("<i><ElementSet>", "<Element type='key'/>", "</ElementSet></i>"));
BENCHMARK_CAPTURE(BM_ImportPeak, empty_entries, std::make_shared<KvResourceImporter_i18n>(),
                  Repeat("", "=\r\n", ""));
BENCHMARK_CAPTURE(BM_ImportPeak, short_entries, std::make_shared<KvResourceImporter_i18n>(),
                  Repeat("", "ab=cd\r\n", ""));
BENCHMARK_CAPTURE(BM_ImportPeak, long_entries, std::make_shared<KvResourceImporter_i18n>(),
                  Repeat("", "MENU_OPTIONS_TITLE=Options of the game menu\r\n", ""));
} // namespace

// Exported, so that the modules the program loads allocate through them too; the other forms
// of the library forward to these.
__attribute__((visibility("default"), noinline)) void* operator new(std::size_t size)
{
    void* pMemory = std::malloc(size ? size : 1);
    if (!pMemory)
        throw std::bad_alloc();
    const uint64_t held = g_Held += malloc_usable_size(pMemory);
    for (uint64_t peak = g_Peak; held > peak && !g_Peak.compare_exchange_weak(peak, held);)
    {
    }
    return pMemory;
}

__attribute__((visibility("default"), noinline)) void operator delete(void* pMemory) noexcept
{
    g_Held -= malloc_usable_size(pMemory);
    std::free(pMemory);
}

__attribute__((visibility("default"), noinline)) void operator delete(void* pMemory, std::size_t) noexcept
{
    operator delete(pMemory);
}
