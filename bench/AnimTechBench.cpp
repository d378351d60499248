// Key reduction against the plain algorithm on the same animations, and sampling throughput.
// CPU time is the whole process's, so that work on helper threads counts.
//
// Profile of the key reduction on the noisy walk (callgrind, instructions, one reduction):
//   before (each key's pose cached up front, scalar tests):   190.9 M
//     41%  bone matrix and concatenation, through a looped, branchy product
//     34%  every key's own pose sampled up front: acosf and three sinf per bone and key
//     10%  sinf of the tests, 5% acosf
//   after (lanes of four keys, span cache, batched sines):    107.0 M
//     43%  the tests' lanes: blend, bone matrix, concatenation, comparison
//     18%  the keys' own poses, four at a time, with no sine (a key's slerp with itself)
//     14%  arcs (acosf and sinf once per bone and round), 10% the tests' sinf
//   with AVX (picked at run time; two blocks to a 256-bit pass, one block in VEX form):  94.5 M
//     63%  one-block tests (of which 18% their sinf), 10% two-block tests
//     20%  the keys' own poses
//     17%  arcs: one acosf (7%) and one sinf per bone and round
// Profile on the long spans (callgrind, instructions, one reduction):
//   four lanes: 1016 M, of which sinf 24%, bone matrices 24%;  with AVX: 755 M
//     91%  two-block tests, of which sinf 32% (two library calls per bone and key)
//
// Reduction CPU time, median of 5 (one thread; the machine shared, so ratios vary by ~15%):
//   noisy walk:  reference 18.1-18.5 ms;  four lanes 9.4-10.4 ms (1.8-1.9x);  AVX 7.0-7.5 ms (2.4-2.6x)
//   long spans:  reference 557-720 ms;  four lanes 69 ms (8.7x);  AVX 56-58 ms (9.6-12.8x, 10.1x
//   when interleaved with the reference)
// What bounds the noisy walk below 3x: its spans hold about two keys, so each round tests
// one or two keys after one acosf and one sinf per bone for the arc (17%), and every key's
// own pose is built once (20%). The tests left take two library sinf calls per bone and key,
// which must stay the library's to keep the kept keys to the bit; the rest is one bone matrix
// and product per key, in lanes mostly empty. Reusing a sine whose argument repeats to the bit
// (mirrored factors) cut the noisy walk's sinf instructions by 14% but its search cost more
// (106 M to 113 M): key times are not exact in float, so mirrored arguments rarely match.
// Beyond this only an early accept with a proven error bound (a cheap sine and a bound through
// every bone's chain, NaN and infinity falling back to the exact test) would drop work.
#include "support/ReferenceKeyReduction.h"
#include "support/TAnimatedSkeletonTestAccess.h"

#include <benchmark/benchmark.h>

#include <optional>

namespace
{
constexpr uint32_t kBones = 60;
constexpr uint32_t kKeys = 3000;

struct ReductionCase
{
    AnimationTech::TAnimatedSkeleton m_Animation;
    float m_fPositionTolerance;
    float m_fAngleToleranceDegrees;
};

// A walk with noise: short spans, about every second key kept.
const ReductionCase& NoisyWalk()
{
    static const ReductionCase s_Case{MakeWalkAnimation(kBones, kKeys, 2026, 0.001f), 0.05f, 5.0f};
    return s_Case;
}

// A slow, smooth swing: long spans, under 50 keys kept.
const ReductionCase& SmoothMotion()
{
    static const ReductionCase s_Case{MakeWalkAnimation(kBones, kKeys, 2026, 0.0f, 0.0f, 0.2f), 0.05f, 3.0f};
    return s_Case;
}

// The argument is the thread count.
void RunOptimizeKeys(benchmark::State& state, const ReductionCase& reductionCase)
{
    const uint32_t threadCount = static_cast<uint32_t>(state.range(0));
    // The copy is made, and the last one released, outside the timed part.
    std::optional<AnimationTech::TAnimatedSkeleton> animation;
    for (auto _ : state)
    {
        state.PauseTiming();
        animation.emplace(reductionCase.m_Animation);
        state.ResumeTiming();
        const uint64_t peakPoses = AnimationTech::TAnimatedSkeletonTestAccess::OptimizeKeys(
            *animation, reductionCase.m_fPositionTolerance, reductionCase.m_fAngleToleranceDegrees,
            threadCount);
        benchmark::DoNotOptimize(animation->GetKeysCount());
        state.counters["kept"] = animation->GetKeysCount();
        state.counters["peakCachedPoses"] = static_cast<double>(peakPoses);
    }
}

void RunReference(benchmark::State& state, const ReductionCase& reductionCase)
{
    for (auto _ : state)
    {
        const std::vector<float> kept =
            ReferenceOptimizeKeys(reductionCase.m_Animation, reductionCase.m_fPositionTolerance,
                                  reductionCase.m_fAngleToleranceDegrees);
        benchmark::DoNotOptimize(kept.data());
        state.counters["kept"] = static_cast<double>(kept.size());
    }
}

void BM_OptimizeKeys(benchmark::State& state)
{
    RunOptimizeKeys(state, NoisyWalk());
}
BENCHMARK(BM_OptimizeKeys)->Arg(1)->Arg(2)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_OptimizeKeysReference(benchmark::State& state)
{
    RunReference(state, NoisyWalk());
}
BENCHMARK(BM_OptimizeKeysReference)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_OptimizeKeysLongSpans(benchmark::State& state)
{
    RunOptimizeKeys(state, SmoothMotion());
}
BENCHMARK(BM_OptimizeKeysLongSpans)->Arg(1)->Arg(2)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_OptimizeKeysLongSpansReference(benchmark::State& state)
{
    RunReference(state, SmoothMotion());
}
BENCHMARK(BM_OptimizeKeysLongSpansReference)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// Model-space matrices of every bone at a time between keys; items are bones.
void BM_GetMatrices(benchmark::State& state)
{
    const AnimationTech::TAnimatedSkeleton& animation = NoisyWalk().m_Animation;
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
