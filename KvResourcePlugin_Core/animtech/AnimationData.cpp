#include "animtech/AnimationData.h"

#include "Foundation/KvReport.h"

namespace AnimationTechExporter
{
namespace
{
const char* RequireName(const char* name)
{
    if (!name)
        KvFatalReport({"animtech\\animationdata", "AnimationTechExporter::AnimationData::AnimationData", 43},
                      "No animation name specified");
    return name;
}
} // namespace

AnimationData::AnimationData(const char* animationName, const char*, uint64_t, bool bFlag)
    : m_strName(RequireName(animationName)), m_bFlag(bFlag)
{
}
} // namespace AnimationTechExporter
