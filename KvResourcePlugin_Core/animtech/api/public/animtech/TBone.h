#pragma once

#include "animtech/KvAnimationTechExport.h"

#include <cstdint>
#include <string>

namespace AnimationTech
{
struct KV_ANIMATIONTECH_API TBone
{
    // Carried with the bone for its producer; no operation reads them.
    float m_afCarried[7] = {};
    std::string m_strName;
    // Index of the parent bone, -1 for a root; always below the bone's own index.
    int32_t m_iParent = -1;
    uint32_t m_uiCarried = 0;
};
} // namespace AnimationTech
