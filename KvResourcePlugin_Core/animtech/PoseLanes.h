#pragma once

#include <cstdint>

namespace AnimationTech
{
// Four poses side by side, one per lane: the pose maths of one key runs unchanged on four
// keys at once, lane by lane with the same float operations, so each lane's result is the
// one the single-key code gives.
constexpr uint32_t kPoseLanes = 4;

// N poses side by side: the float lanes, their comparison masks, and a bone matrix of them.
// A vector size that depends on N does not set the alignment by itself: it is spelt out.
template <uint32_t N>
struct LaneTypes
{
    typedef float Lanes __attribute__((vector_size(4 * N), aligned(4 * N)));
    typedef int32_t Mask __attribute__((vector_size(4 * N), aligned(4 * N)));
    struct Matrix
    {
        Lanes m[12];
    };
};
using Lanes = LaneTypes<kPoseLanes>::Lanes;
using LaneMask = LaneTypes<kPoseLanes>::Mask;
using MatrixLanes = LaneTypes<kPoseLanes>::Matrix;

// Two blocks of keys in one pass, where the processor has 256-bit vectors.
constexpr uint32_t kWidePoseLanes = 2 * kPoseLanes;
using WideMatrixLanes = LaneTypes<kWidePoseLanes>::Matrix;

template <class V = Lanes>
inline V Broadcast(float value)
{
    V result;
    for (uint32_t lane = 0; lane < sizeof(V) / sizeof(float); ++lane)
        result[lane] = value;
    return result;
}

template <class Mask>
inline bool AnyLane(const Mask& mask)
{
    int32_t any = 0;
    for (uint32_t lane = 0; lane < sizeof(Mask) / sizeof(int32_t); ++lane)
        any |= mask[lane];
    return any != 0;
}
} // namespace AnimationTech
