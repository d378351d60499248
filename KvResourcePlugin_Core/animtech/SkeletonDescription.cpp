#include "animtech/SkeletonDescription.h"

#include "Foundation/KvReport.h"

namespace AnimationTechExporter
{
namespace
{
const char* RequireName(const char* name)
{
    if (!name)
        KvFatalReport({"animtech\\skeletondescription",
                       "AnimationTechExporter::SkeletonDescription::SkeletonDescription", 40},
                      "No name specified");
    return name;
}
} // namespace

SkeletonDescription::SkeletonDescription(const char* name, uint64_t skeletonId, uint32_t boneCount)
    : m_strName(RequireName(name)), m_ulSkeletonId(skeletonId), m_uiBoneCount(boneCount),
      m_aBones(std::make_unique<SkeletonBone[]>(boneCount))
{
}
} // namespace AnimationTechExporter
