#pragma once

#include "animtech/AnimationTrack.h"
#include "animtech/KvAnimationTechExport.h"
#include "animtech/SkeletonDescription.h"

#include <cstdint>
#include <memory>
#include <string>

namespace AnimationTechExporter
{
// One animation's export data. The skeleton and tracks are owned; a copy shares them with
// the original, and they are freed once, with the last record that holds them.
class KV_ANIMATIONTECH_API AnimationData
{
public:
    // Copies the name (a null name is fatal) and keeps the flag; the source name and the
    // 64-bit value are not stored.
    AnimationData(const char* animationName, const char* sourceName, uint64_t value, bool bFlag);

    // Takes ownership of what the caller allocated.
    void SetSkeleton(SkeletonDescription* pSkeleton) { m_pSkeleton.reset(pSkeleton); }
    void SetRotations(AnimationTrackRotation* pRotations) { m_pRotations.reset(pRotations); }
    void SetTranslations(AnimationTrackTranslation* pTranslations) { m_pTranslations.reset(pTranslations); }

    const std::string& GetName() const { return m_strName; }
    SkeletonDescription* GetSkeleton() const { return m_pSkeleton.get(); }
    AnimationTrackRotation* GetRotations() const { return m_pRotations.get(); }
    AnimationTrackTranslation* GetTranslations() const { return m_pTranslations.get(); }
    bool GetFlag() const { return m_bFlag; }

private:
    std::string m_strName;
    std::shared_ptr<SkeletonDescription> m_pSkeleton;
    std::shared_ptr<AnimationTrackRotation> m_pRotations;
    std::shared_ptr<AnimationTrackTranslation> m_pTranslations;
    bool m_bFlag;
};
} // namespace AnimationTechExporter
