#pragma once

#include "animtech/KvAnimationTechExport.h"
#include "animtech/SkeletonBone.h"

#include <cstdint>
#include <memory>
#include <string>

namespace AnimationTechExporter
{
// A skeleton's export description. Its bones are one array made with it and never copied or
// moved (a bone's copy drops its owned array), so the description cannot be copied either.
class KV_ANIMATIONTECH_API SkeletonDescription
{
public:
    // Copies the name (a null name is fatal) and allocates boneCount default bones.
    SkeletonDescription(const char* name, uint64_t skeletonId, uint32_t boneCount);

    SkeletonDescription(const SkeletonDescription&) = delete;
    SkeletonDescription& operator=(const SkeletonDescription&) = delete;

    std::string m_strName;
    uint64_t m_ulSkeletonId;
    const uint32_t m_uiBoneCount;
    // m_uiBoneCount bones.
    const std::unique_ptr<SkeletonBone[]> m_aBones;
};
} // namespace AnimationTechExporter
