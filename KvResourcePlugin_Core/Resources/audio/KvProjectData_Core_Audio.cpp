#include "projectdata/KvProjectData_Core_Audio.h"

#include "Foundation/KvDebugDrawInterface.h"
#include "Foundation/KvRandom.h"
#include "Foundation/KvReport.h"
#include "editor/KvEditorPawnCallbackHandler.h"
#include "math/KvMathConstants.h"
#include "projectdata/KvConstructContexts.h"
#include "projectdata/KvProjectData_Core_EditorPawn.h"
#include "projectdata/KvProjectData_Core_Transform.h"
#include "reflection/KvReflectedDataType.h"

#include <cmath>
#include <set>

namespace
{
using VolumeGroup = KvProjectData_Core_Raw_AudioVolumeGroup;

// A priority out of 100 as a factor; 100 and more count as 1.
float PriorityFactor(uint8_t priority)
{
    return priority < 100 ? static_cast<float>(priority) / 100.0f : 1.0f;
}

// factor(group) times factor(a) for every ancestor a, nearest first. A loop above the group
// ends the walk where it closes, so each group counts once.
float ProductUpTheHierarchy(const VolumeGroup& group, float (VolumeGroup::*factor)() const)
{
    float product = (group.*factor)();
    std::set<const VolumeGroup*> visited{&group};
    for (const VolumeGroup* pAncestor = group.m_pParentGroup; pAncestor && visited.insert(pAncestor).second;
         pAncestor = pAncestor->m_pParentGroup)
        product *= (pAncestor->*factor)();
    return product;
}

// One random byte from the shared sequence: bits 16 to 23 of the next seed.
uint8_t NextRandomByte()
{
    return static_cast<uint8_t>(KvRandomGeneratorCRT::StepSeed() >> 16);
}

constexpr const char* kVariationFile = "Resources\\audio\\KvProjectData_Core_Raw_AudioSoundVariation";
constexpr const char* kEntryFile = "Resources\\audio\\KvProjectData_Core_Raw_AudioSoundEntry";
constexpr KvColor kPreviewGrey{0x7D, 0x7D, 0x7D, 0xFF};
constexpr KvColor kTitleColor{255, 255, 255, 255};
// Preview layout: the radius circles, the text line spacing and the tilt of the circles.
constexpr float kPreviewOuterRadius = 100.0f;
constexpr float kPreviewInnerRadius = 80.0f;
constexpr float kPreviewTiltDegrees = -90.0f;
constexpr float kPreviewLineSpacing = 5.0f;
} // namespace

float VolumeGroup::GetEffectiveVolume() const
{
    return m_fVolumeMultiplier * m_fVolumeConstant * m_fVolumeUserMultiplier;
}

float VolumeGroup::GetEffectivePriority() const
{
    return PriorityFactor(m_ucPriority);
}

float VolumeGroup::GetFinalVolume(const VolumeGroup* pGroup)
{
    if (!pGroup)
        return 1.0f;
    if (pGroup->m_bMuted)
        return 0.0f;
    return ProductUpTheHierarchy(*pGroup, &VolumeGroup::GetEffectiveVolume);
}

float VolumeGroup::GetFinalPriority(const VolumeGroup* pGroup)
{
    return pGroup ? ProductUpTheHierarchy(*pGroup, &VolumeGroup::GetEffectivePriority) : 1.0f;
}

bool VolumeGroup::IsAffectedByChangeIn(const VolumeGroup* pOther) const
{
    std::set<const VolumeGroup*> visited;
    for (const VolumeGroup* pCurrent = this; pCurrent;)
    {
        if (pCurrent == pOther)
            return true;
        visited.insert(pCurrent);
        pCurrent = pCurrent->m_pParentGroup;
        if (pCurrent == this)
            KvFatalReport(
                {"Resources\\audio\\KvProjectData_Core_Raw_AudioVolumeGroup",
                 "KvProjectData_Core_Raw_AudioVolumeGroup::IsAffectedByChangeIn", 100},
                "Discovered a circular volume group reference when assigning parent volume groups for '%s'",
                m_strName.c_str());
        // A loop above this group that never comes back to it cannot reach the other group.
        if (visited.count(pCurrent))
            return false;
    }
    return false;
}

void VolumeGroup::OnParentChanged(const KvReflectedDataType* pParentType, void* pParent,
                                  const KvReflectedPrimitive*, void* pGroup)
{
    auto* pThis = static_cast<VolumeGroup*>(pGroup);
    if (!pParent)
        pThis->m_pParentGroup = nullptr;
    else if (pParentType == GetReflectedDataType())
        pThis->m_pParentGroup = static_cast<VolumeGroup*>(pParent);
}

KvProjectData_Core_Raw_AudioSoundVariation::KvProjectData_Core_Raw_AudioSoundVariation(
    const KvReflectedObjCtorContext& context)
{
    SetDefaults();
    m_pSample = static_cast<KvProjectData_Core_Raw_AudioSample*>(context.m_pSourceObject);
}

void KvProjectData_Core_Raw_AudioSoundVariation::SetDefaults()
{
    m_pSample = nullptr;
    m_fPitch = 1.0f;
    m_fPitchVariation = 0.0f;
    m_fVolume = 1.0f;
    m_fVolumeVariation = 0.0f;
    m_fZeroRadius = 2000.0f;
    m_fMaxRadius = 100.0f;
}

float KvProjectData_Core_Raw_AudioSoundVariation::GetRandomPitch() const
{
    if (m_fPitchVariation == 0.0f)
        return m_fPitch;
    return m_fPitch + KvRandomGeneratorCRT().GetRandom(-m_fPitchVariation, m_fPitchVariation);
}

float KvProjectData_Core_Raw_AudioSoundVariation::GetRandomVolume() const
{
    if (m_fVolumeVariation == 0.0f)
        return m_fVolume;
    return m_fVolume + KvRandomGeneratorCRT().GetRandom(-m_fVolumeVariation, m_fVolumeVariation);
}

void KvProjectData_Core_Raw_AudioSoundVariation::GetDisplayName(std::string& outName,
                                                                const KvReflectedDataType* pType,
                                                                const void* pObject)
{
    outName = "KvProjectData_Core_Raw_AudioSoundVariation";
    if (!pObject)
        return;
    if (pType != GetReflectedDataType())
        KvFatalReport(
            {kVariationFile, "KvProjectData_Core_Raw_AudioSoundVariation::GetDisplayName", 65},
            "Data type '%s' not supported in 'KvProjectData_Core_Raw_AudioSoundVariation.GetDisplayName' .",
            pType ? pType->GetName().c_str() : "");
    const auto* pVariation = static_cast<const KvProjectData_Core_Raw_AudioSoundVariation*>(pObject);
    if (pVariation->m_pSample)
        outName = "Variation: " + pVariation->m_pSample->m_strName;
}

void KvProjectData_Core_Raw_AudioSoundVariation::GetConstructContexts(
    std::vector<KvReflectedObjCtorContext*>& outContexts, const KvReflectedDataType* pTargetType,
    void* pParentObject, const KvReflectedPrimitive* pParentMember)
{
    KvAppendLiveObjectContexts(outContexts, "KvProjectData_Core_Raw_AudioSample", pTargetType, pParentObject,
                               pParentMember);
}

KvProjectData_Core_Raw_AudioSoundVariationList::KvProjectData_Core_Raw_AudioSoundVariationList(
    const KvReflectedObjCtorContext& context)
{
    auto* pVariation = static_cast<KvProjectData_Core_Raw_AudioSoundVariation*>(
        KvProjectData_Core_Raw_AudioSoundVariation::GetReflectedDataType()->GetObjectConstructor()->Create());
    auto* pSample = static_cast<KvProjectData_Core_Raw_AudioSample*>(context.m_pSourceObject);
    pVariation->m_pSample = pSample;
    m_apVariations.push_back(pVariation);
    if (pSample)
        m_strName = pSample->m_strName;
}

KvProjectData_Core_Raw_AudioSoundEntry::KvProjectData_Core_Raw_AudioSoundEntry(
    const KvReflectedObjCtorContext& context)
{
    SetDefaults();
    m_pVariationList = static_cast<KvProjectData_Core_Raw_AudioSoundVariationList*>(context.m_pSourceObject);
    if (m_pVariationList)
        m_strName = m_pVariationList->m_strName;
}

KvProjectData_Core_Raw_AudioSoundEntry::~KvProjectData_Core_Raw_AudioSoundEntry()
{
    DestroyEditorPawn();
}

void KvProjectData_Core_Raw_AudioSoundEntry::SetDefaults()
{
    m_pEditorPawn = nullptr;
    m_pHandler = nullptr;
    m_pVolumeGroup = nullptr;
    m_pVariationList = nullptr;
    m_strName = "[UNNAMED]";
    m_bLoop = false;
    m_fLoopFadeInTime = 0.0f;
    m_fCoolDownMin = 0.0f;
    m_fCoolDownMax = 0.0f;
    m_ucProbability = 100;
    m_ucPriority = 50;
    m_ulLastStart = kNeverStarted;
}

float KvProjectData_Core_Raw_AudioSoundEntry::GetEffectivePriority() const
{
    return PriorityFactor(m_ucPriority);
}

void KvProjectData_Core_Raw_AudioSoundEntry::CreateEditorPawn()
{
    DestroyEditorPawn();
    m_pHandler = KvEditorPawnCallbackHandler::CreateInstance("KvEditorPawnCallbackHandler_SoundEntry");
    if (!m_pHandler)
        return;
    m_pHandler->AddRef();
    m_pHandler->SetPreviewedObject(GetReflectedDataType(), this);
    m_pEditorPawn = new KvProjectData_Core_Raw_EditorPawn();
    m_pEditorPawn->m_pTransform = static_cast<KvProjectData_Core_Raw_KvObjectTransform*>(
        KvProjectData_Core_Raw_KvObjectTransform::GetReflectedDataType()->GetObjectConstructor()->Create());
    m_pEditorPawn->m_pCallback = m_pHandler;
}

void KvProjectData_Core_Raw_AudioSoundEntry::DestroyEditorPawn()
{
    if (m_pHandler)
        m_pHandler->Release();
    m_pHandler = nullptr;
    delete m_pEditorPawn;
    m_pEditorPawn = nullptr;
}

void KvProjectData_Core_Raw_AudioSoundEntry::DrawDebugAt(const KvVector3& position, bool bPlaying) const
{
    KvDebugDrawInterface* pDraw = KvDebugDraw::GetInterface();
    const float tilt = kPreviewTiltDegrees * KvMath::kDegreesToRadians;
    const KvVector3 normal{0.0f, std::cos(tilt), std::sin(tilt)};
    pDraw->DrawCircle(position, normal, kPreviewOuterRadius, kPreviewGrey);
    pDraw->DrawCircle(position, normal, kPreviewInnerRadius, kPreviewGrey);

    KvVector3 line = position;
    auto drawLine = [&](const std::string& text, KvColor color)
    {
        pDraw->DrawText3D(line, text.c_str(), color);
        line.z -= kPreviewLineSpacing;
    };
    drawLine(KvFormatMessage("Sound Entry '%s'", m_strName.c_str()), kTitleColor);
    if (bPlaying)
        drawLine("PLAYING" + KvFormatMessage(" (last started %u)", m_ulLastStart), kTitleColor);
    if (!m_pVariationList)
    {
        drawLine("Missing variation list", kTitleColor);
        return;
    }
    const std::vector<KvProjectData_Core_Raw_AudioSoundVariation*>& variations =
        m_pVariationList->m_apVariations;
    while (m_aVariationColors.size() < variations.size())
    {
        // Grey moved by one random byte per channel, lowest byte of the colour (red) first.
        KvColor color = kPreviewGrey;
        color.r = static_cast<uint8_t>(color.r + NextRandomByte());
        color.g = static_cast<uint8_t>(color.g + NextRandomByte());
        color.b = static_cast<uint8_t>(color.b + NextRandomByte());
        m_aVariationColors.push_back(color);
    }
    for (uint32_t index = 0; index < variations.size(); ++index)
    {
        const KvProjectData_Core_Raw_AudioSample* pSample =
            variations[index] ? variations[index]->m_pSample : nullptr;
        drawLine(KvFormatMessage("Sound variation %u : %s", index, pSample ? pSample->m_strName.c_str() : ""),
                 m_aVariationColors[index]);
    }
}

void KvProjectData_Core_Raw_AudioSoundEntry::GetConstructContexts(
    std::vector<KvReflectedObjCtorContext*>& outContexts, const KvReflectedDataType* pTargetType,
    void* pParentObject, const KvReflectedPrimitive* pParentMember)
{
    KvAppendLiveObjectContexts(outContexts, "KvProjectData_Core_Raw_AudioSoundVariationList", pTargetType,
                               pParentObject, pParentMember);
}

void KvProjectData_Core_Raw_AudioSoundEntryRef::GetDisplayName(std::string& outName,
                                                               const KvReflectedDataType* pType,
                                                               const void* pObject)
{
    outName = "KvProjectData_Core_Raw_AudioSoundEntryRef";
    if (!pObject)
        return;
    if (pType != GetReflectedDataType())
        KvFatalReport(
            {kEntryFile, "KvProjectData_Core_Raw_AudioSoundEntryRef::GetDisplayName", 198},
            "Data type '%s' not supported in 'KvProjectData_Core_Raw_AudioSoundEntryRef.GetDisplayName' .",
            pType ? pType->GetName().c_str() : "");
    const auto* pReference = static_cast<const KvProjectData_Core_Raw_AudioSoundEntryRef*>(pObject);
    if (pReference->m_pSoundEntry)
        outName = "Ref: " + pReference->m_pSoundEntry->m_strName;
}

void KvProjectData_Core_Raw_AudioSoundEntryRef::GetConstructContexts(
    std::vector<KvReflectedObjCtorContext*>& outContexts, const KvReflectedDataType* pTargetType,
    void* pParentObject, const KvReflectedPrimitive* pParentMember)
{
    KvAppendLiveObjectContexts(outContexts, "KvProjectData_Core_Raw_AudioSoundEntry", pTargetType,
                               pParentObject, pParentMember);
}
