// Reading a large animation file's text: the tool's own reader against nlohmann's parse of
// the same text (the tool's reader before), and against that parse alone.
//
// Profile of `kvres anim info` on this walk (perf, cpu-clock samples):
//   before: nlohmann's parse building its tree about 90% of the read, the checks after it
//           (with a message string made for every bone of every key) the rest
//   first text reader (a node per value): page faults on the fresh node array and zeroing
//           the file's copy half the time
//   after:  numbers (grammar and from_chars) 51%, the scan 11%, page faults 11% (the mapped
//           file and the animation): the keys' nodes are dropped as each key is read
#include "support/TAnimatedSkeletonTestAccess.h"
#include "testaccess/KvresTestAccess.h"

#include <benchmark/benchmark.h>

namespace
{
// The walk of the key reduction benchmarks, 60 bones and 3000 keys, as kvres writes it.
const std::string& WalkText()
{
    static const std::string s_Text = AnimationToJson(MakeWalkAnimation(60, 3000, 2026, 0.001f)).dump(1);
    return s_Text;
}

void BM_ReadAnimationText(benchmark::State& state)
{
    const std::string& text = WalkText();
    for (auto _ : state)
    {
        const AnimationTech::TAnimatedSkeleton animation = AnimationFromJsonText(text);
        benchmark::DoNotOptimize(animation.GetKeysCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * WalkText().size()));
}
BENCHMARK(BM_ReadAnimationText)->Unit(benchmark::kMillisecond);

void BM_ReadAnimationThroughNlohmannTree(benchmark::State& state)
{
    const std::string& text = WalkText();
    for (auto _ : state)
    {
        const AnimationTech::TAnimatedSkeleton animation = AnimationFromJson(nlohmann::json::parse(text));
        benchmark::DoNotOptimize(animation.GetKeysCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * WalkText().size()));
}
BENCHMARK(BM_ReadAnimationThroughNlohmannTree)->Unit(benchmark::kMillisecond);

void BM_NlohmannParseOnly(benchmark::State& state)
{
    const std::string& text = WalkText();
    for (auto _ : state)
        benchmark::DoNotOptimize(nlohmann::json::parse(text).size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * WalkText().size()));
}
BENCHMARK(BM_NlohmannParseOnly)->Unit(benchmark::kMillisecond);
} // namespace
