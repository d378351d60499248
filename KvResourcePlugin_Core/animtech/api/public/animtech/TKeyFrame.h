#pragma once

#include "animtech/AnimationTechMath.h"

#include <vector>

namespace AnimationTech
{
// Every bone's local pose at one time, in bone order.
struct TKeyFrame
{
    float m_fTime = 0.0f;
    std::vector<TBoneKey> m_aBoneKeys;
};
} // namespace AnimationTech
