#pragma once

#include "animtech/KvAnimationTechExport.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace AnimationTechExporter
{
// An exported track: one time per key and, per key and bone, kComponents floats.
template <uint32_t kComponents>
class AnimationTrack
{
public:
    AnimationTrack(uint32_t keyCount, uint32_t boneCount)
        : m_uiKeyCount(keyCount), m_afTimes(keyCount),
          m_afValues(std::size_t(keyCount) * boneCount * kComponents)
    {
    }

    uint32_t m_uiKeyCount;
    std::vector<float> m_afTimes;
    std::vector<float> m_afValues;
};

// Rotations as x, y, z, w per key and bone.
class KV_ANIMATIONTECH_API AnimationTrackRotation : public AnimationTrack<4>
{
public:
    using AnimationTrack<4>::AnimationTrack;
};

// Translations as x, y, z per key and bone.
class KV_ANIMATIONTECH_API AnimationTrackTranslation : public AnimationTrack<3>
{
public:
    using AnimationTrack<3>::AnimationTrack;
};
} // namespace AnimationTechExporter
