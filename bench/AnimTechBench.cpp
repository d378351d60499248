// Key reduction against the plain algorithm on the same animations, and sampling throughput.
// CPU time is the whole process's, so that work on helper threads counts.
//
// Profile of the key reduction on the noisy walk (callgrind, instructions, one reduction; the
// reference takes 214.9 M):
//   before (each key's pose cached up front, scalar tests):   190.9 M
//     41%  bone matrix and concatenation, through a looped, branchy product
//     34%  every key's own pose sampled up front: acosf and three sinf per bone and key
//   lanes of four keys, span cache, batched sines:             107.0 M
//   with AVX (picked at run time; two blocks to a 256-bit pass, one block in VEX form):  94.5 M
//     63%  one-block tests (of which 18% their sinf), 10% two-block tests
//     20%  the keys' own poses (perf: 19% of the time, stalled joining narrow reads)
//     17%  arcs: one acosf (7%) and one sinf per bone and round
//     a failing round tested 20 bones before its failing one (only the last failing chain
//     went first), a fifth of all bones tested
//   bones tried in the order they last failed, key records read as whole vectors, span
//   cache as a ring (no block copied), tested lanes listed once per pass:  63.4 M
//     77%  one-block tests: 16% bone matrices and products, 12% sinf (the arc's and two per
//          tested key), 10% acosf (one per bone and round), 7% arc set-up, 6% comparisons
//     12%  the keys' own poses;  8% two-block tests
//     a failing round stops after 7 bones; 91% of the bones tested are in passing rounds
//   perf (time) after: one-block tests 42%, sinf 20%, keys' own poses 12%, acosf 7%
// Profile on the long spans (callgrind, instructions, one reduction):
//   four lanes: 1016 M, of which sinf 24%, bone matrices 24%;  with AVX: 755 M;  now 715 M
//     91%  two-block tests, of which sinf 32% (two library calls per bone and key)
//
// Reduction CPU time, median of 5 (one thread; the machine shared and loaded, so one run's
// ratios vary by 15% and more; the instruction counts above do not):
//   noisy walk:  reference 18.1-18.5 ms;  four lanes 9.4-10.4 ms (1.8-1.9x);  AVX 7.0-7.5 ms
//   (2.4-2.6x);  now 5.2-5.4 ms against 17.9-18.7 ms (3.3-3.4x), the build before this pass
//   run alternately with it taking 7.2-7.5 ms against 18.0-18.9 ms (2.4-2.6x)
//   long spans:  reference 557-720 ms;  four lanes 69 ms (8.7x);  AVX 55-59 ms (9.6-10x run
//   alternately);  now 52 ms against 555-560 ms (10.6x)
// What bounds the noisy walk now: its spans hold about two keys, so more than half of its
// rounds pass, and a passing round builds every bone for its one or two keys: per bone one
// acosf and one sinf for the arc and two sinf per key, all the library's so that the kept keys
// match to the bit, then one bone matrix and product in lanes mostly empty. Tried and dropped:
// a sine bit-identical to the library's without calling it for most lanes (a double polynomial
// rounded to float; the library's sinf strays at most 0.561 ulp on [0, acosf(0)], checked on
// every float, so only lanes within 0.07 ulp of a rounding midpoint call it), but on one or two
// keys per pass the polynomial's latency and the branch to the library cost more than the calls
// it saved (7.2 ms to 12.4 ms), and on the long spans' full eight lanes it cut the instructions
// by 15% (716 M to 607 M) but doubled the time (55 ms to 114 ms), the library calls left for a
// seventh of the lanes spilling the vectors around them; reusing a sine whose argument repeats
// to the bit (mirrored factors) cost more in its search than it saved (106 M to 113 M). An
// early accept with a proven error bound would drop at most the library calls (22% of the
// instructions) and add a bound's arithmetic to every bone of every test.
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
