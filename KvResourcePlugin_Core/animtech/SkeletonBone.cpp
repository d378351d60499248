#include "animtech/SkeletonBone.h"

#include <algorithm>

namespace AnimationTechExporter
{
SkeletonBone::SkeletonBone(const SkeletonBone& other)
{
    CopyPose(other);
}

SkeletonBone& SkeletonBone::operator=(const SkeletonBone& other)
{
    CopyPose(other);
    return *this;
}

void SkeletonBone::CopyPose(const SkeletonBone& other)
{
    std::copy(std::begin(other.m_aulValues), std::end(other.m_aulValues), m_aulValues);
    std::copy(std::begin(other.m_afRotation), std::end(other.m_afRotation), m_afRotation);
    std::copy(std::begin(other.m_afTranslation), std::end(other.m_afTranslation), m_afTranslation);
}
} // namespace AnimationTechExporter
