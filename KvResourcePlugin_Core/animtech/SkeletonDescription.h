#pragma once

#include "animtech/KvAnimationTechExport.h"
#include "animtech/SkeletonBone.h"

#include <cstdint>
#include <string>
#include <vector>

namespace AnimationTechExporter
{
class KV_ANIMATIONTECH_API SkeletonDescription
{
public:
    // Copies the name (a null name is fatal) and allocates boneCount default bones.
    SkeletonDescription(const char* name, uint64_t skeletonId, uint32_t boneCount);

    std::string m_strName;
    uint64_t m_ulSkeletonId;
    uint32_t m_uiBoneCount;
    std::vector<SkeletonBone> m_aBones;
};
} // namespace AnimationTechExporter
