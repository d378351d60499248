// Key reduction against the plain algorithm on the same animation, and sampling throughput.
#include "support/ReferenceKeyReduction.h"
#include "support/TAnimatedSkeletonTestAccess.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr uint32_t kBones = 60;
constexpr uint32_t kKeys = 3000;
constexpr float kPositionTolerance = 0.05f;
constexpr float kAngleToleranceDegrees = 5.0f;

const AnimationTech::TAnimatedSkeleton& WalkAnimation()
{
    static const AnimationTech::TAnimatedSkeleton s_Animation =
        MakeWalkAnimation(kBones, kKeys, 2026, 0.001f);
    return s_Animation;
}

void BM_OptimizeKeys(benchmark::State& state)
{
    for (auto _ : state)
    {
        AnimationTech::TAnimatedSkeleton animation(WalkAnimation());
        animation.OptimizeKeys(kPositionTolerance, kAngleToleranceDegrees);
        benchmark::DoNotOptimize(animation.GetKeysCount());
        state.counters["kept"] = animation.GetKeysCount();
    }
}
BENCHMARK(BM_OptimizeKeys)->Unit(benchmark::kMillisecond);

void BM_OptimizeKeysReference(benchmark::State& state)
{
    for (auto _ : state)
    {
        const std::vector<float> kept =
            ReferenceOptimizeKeys(WalkAnimation(), kPositionTolerance, kAngleToleranceDegrees);
        benchmark::DoNotOptimize(kept.data());
        state.counters["kept"] = static_cast<double>(kept.size());
    }
}
BENCHMARK(BM_OptimizeKeysReference)->Unit(benchmark::kMillisecond);

// Model-space matrices of every bone at a time between keys; items are bones.
void BM_GetMatrices(benchmark::State& state)
{
    const AnimationTech::TAnimatedSkeleton& animation = WalkAnimation();
    std::vector<AnimationTech::AniMatrix4x3> matrices(kBones);
    float time = 0.0f;
    for (auto _ : state)
    {
        animation.GetMatrices(time, matrices.data());
        benchmark::DoNotOptimize(matrices.data());
        time += 0.0123f;
        if (time > animation.GetAnimationLength())
            time = 0.0f;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBones));
}
BENCHMARK(BM_GetMatrices);
} // namespace
