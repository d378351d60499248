#pragma once

#include "animtech/KvAnimationTechExport.h"

#include <cstdint>
#include <vector>

namespace AnimationTechExporter
{
// One exported bone. Its owned array belongs to the bone it was filled in: copies start
// with an empty one and assignment keeps the target's.
class KV_ANIMATIONTECH_API SkeletonBone
{
public:
    SkeletonBone() = default;
    SkeletonBone(const SkeletonBone& other);
    SkeletonBone& operator=(const SkeletonBone& other);

    uint64_t m_aulValues[2] = {};
    std::vector<uint32_t> m_aOwned;
    float m_afRotation[4] = {};
    float m_afTranslation[3] = {};

private:
    void CopyPose(const SkeletonBone& other);
};
} // namespace AnimationTechExporter
