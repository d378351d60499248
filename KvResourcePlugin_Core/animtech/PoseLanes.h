#pragma once

#include <cstdint>

namespace AnimationTech
{
// Four poses side by side, one per lane: the pose maths of one key runs unchanged on four
// keys at once, lane by lane with the same float operations, so each lane's result is the
// one the single-key code gives.
constexpr uint32_t kPoseLanes = 4;
using Lanes = float __attribute__((vector_size(16)));
using LaneMask = int32_t __attribute__((vector_size(16)));

struct MatrixLanes
{
    Lanes m[12];
};

inline Lanes Broadcast(float value)
{
    return Lanes{value, value, value, value};
}

inline Lanes LoadLanes(const float (&values)[kPoseLanes])
{
    return Lanes{values[0], values[1], values[2], values[3]};
}

inline bool AnyLane(const LaneMask& mask)
{
    return (mask[0] | mask[1] | mask[2] | mask[3]) != 0;
}
} // namespace AnimationTech
