// Costs of the foundation's indirections, each beside the plain operation it stands for.
#include "Foundation/KvLog.h"
#include "IO/KvIOStream_Memory.h"
#include "TypeManager/KvTypeManager.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{
constexpr size_t kChunkSize = 64 * 1024;

// Reading a buffer through the stream interface, against a plain copy of the same bytes.
void BM_MemoryStreamRead(benchmark::State& state)
{
    std::vector<uint8_t> source(kChunkSize, 0x5A);
    std::vector<uint8_t> target(kChunkSize);
    for (auto _ : state)
    {
        KvIOStream_Memory stream(source.data(), static_cast<uint32_t>(source.size()));
        benchmark::DoNotOptimize(stream.Read(target.data(), target.size()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kChunkSize));
}
BENCHMARK(BM_MemoryStreamRead);

void BM_Memcpy(benchmark::State& state)
{
    std::vector<uint8_t> source(kChunkSize, 0x5A);
    std::vector<uint8_t> target(kChunkSize);
    for (auto _ : state)
    {
        std::memcpy(target.data(), source.data(), kChunkSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kChunkSize));
}
BENCHMARK(BM_Memcpy);

// A class lookup through the process-shared registry, against a bare map lookup.
void BM_TypeManagerFindType(benchmark::State& state)
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    for (auto _ : state)
        benchmark::DoNotOptimize(pManager->FindType("KvIOStream_Memory"));
}
BENCHMARK(BM_TypeManagerFindType);

void BM_StdMapFind(benchmark::State& state)
{
    std::map<std::string, int> names{
        {"KvTypedObject", 0}, {"KvIOStream", 1}, {"KvIOStream_File", 2}, {"KvIOStream_Memory", 3}};
    for (auto _ : state)
        benchmark::DoNotOptimize(names.find("KvIOStream_Memory"));
}
BENCHMARK(BM_StdMapFind);

// A log write with no sink: the cost of finding the shared container.
void BM_LogWriteWithoutSinks(benchmark::State& state)
{
    for (auto _ : state)
        KvLog::Write("Default", 3, "message");
}
BENCHMARK(BM_LogWriteWithoutSinks);
} // namespace
