#include "projectdata/KvProjectData_Core_Animation.h"

#include "Foundation/KvReport.h"
#include "projectdata/KvSchema.h"

#include <cmath>
#include <limits>

namespace
{
constexpr const char* kEventFile = "Resources\\animation\\projectdata\\KvProjectData_Core_Raw_AnimationEvent";
constexpr const char* kEventFunction =
    "KvProjectData_Core_Raw_AnimationEvent::KvProjectData_Core_Raw_AnimationEvent";

// The name of a typed event; fatal at the constructor's line without one.
const char* RequireName(const char* name, int line)
{
    if (!name)
        KvFatalReport({kEventFile, kEventFunction, line}, "an anim event name must be specified");
    return name;
}

// The float payload as an integer, truncated toward zero. A plain conversion is undefined
// for NaN and outside the 32-bit range: NaN gives 0, anything beyond a range end that end.
int32_t TruncateToInt32(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (value < -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
} // namespace

KvProjectData_Core_Raw_AnimationEvent::KvProjectData_Core_Raw_AnimationEvent(const char* name, float time)
    : m_strName(RequireName(name, 19)), m_fTime(time)
{
}

KvProjectData_Core_Raw_AnimationEvent::KvProjectData_Core_Raw_AnimationEvent(const char* name, float time,
                                                                             int32_t value)
    : m_strName(RequireName(name, 29)), m_fTime(time), m_iPlayload(value),
      m_fPayload(static_cast<float>(value)), m_strPayload(KvFormatMessage("%d", value))
{
}

KvProjectData_Core_Raw_AnimationEvent::KvProjectData_Core_Raw_AnimationEvent(const char* name, float time,
                                                                             float value)
    : m_strName(RequireName(name, 39)), m_fTime(time), m_iPlayload(TruncateToInt32(value)), m_fPayload(value),
      m_strPayload(KvFormatMessage("%f", value))
{
}

KvProjectData_Core_Raw_AnimationEvent::KvProjectData_Core_Raw_AnimationEvent(const char* name, float time,
                                                                             const char* text)
    : m_strName(RequireName(name, 50)), m_fTime(time)
{
    if (!text)
        KvFatalReport({kEventFile, kEventFunction, 49}, "a string payload must be specified");
    m_strPayload = text;
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationEvent, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationEvent;
schema.Member("m_strName", &T::m_strName);
schema.Member("m_fTime", &T::m_fTime);
schema.Member("m_iPlayload", &T::m_iPlayload);
schema.Member("m_fPayload", &T::m_fPayload);
schema.Member("m_strPayload", &T::m_strPayload);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationEventTrack, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationEventTrack;
schema.Member("m_strName", &T::m_strName);
schema.RecordArray("m_aEvents", &T::m_aEvents, KvProjectData_Core_Raw_AnimationEvent::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationModel, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationModel;
schema.Member("m_strAgentName", &T::m_strAgentName);
schema.Member("m_strAnimationGraphName", &T::m_strAnimationGraphName);
schema.Member("m_strSkeletonName", &T::m_strSkeletonName);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationStateBlendTarget, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationStateBlendTarget;
schema.Pointer("m_pTargetState", &T::m_pTargetState,
               KvDeclareForward("KvProjectData_Core_Raw_AnimationState"));
schema.Member("m_fBlendTime", &T::m_fBlendTime);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationClipRef, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationClipRef;
schema.Member("m_bIsCyclic", &T::m_bIsCyclic);
schema.Pointer("m_pClip", &T::m_pClip, KvDeclareForward("KvProjectData_Core_Raw_AnimationClip"))
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true);
schema.Member("m_fClipStart", &T::m_fClipStart);
schema.Member("m_fClipEnd", &T::m_fClipEnd);
KV_END_SCHEMA()

KV_CODE_HOLDER_SCHEMA(KvProjectData_Core_Raw_AnimationTask, true,
                      new KvAttribute_CtorByTypeInheritance(
                          "By Type", "KvAnimTask", new ObjectCtor<KvProjectData_Core_Raw_AnimationTask>()),
                      new KvAttribute_NoSorting(), new KvAttribute_SkipVirtualNode())
KV_CODE_HOLDER_SCHEMA(
    KvProjectData_Core_Raw_AnimationStateCode, true, new KvAttribute_SkipVirtualNode(),
    new KvAttribute_CtorByTypeInheritance("By Type", "KvAnimStateCode",
                                          new ObjectCtor<KvProjectData_Core_Raw_AnimationStateCode>()))

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationState, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationState;
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("%s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Member("m_fDefaultBlendTime", &T::m_fDefaultBlendTime);
schema.RecordArray("m_apBlendInfo", &T::m_apBlendInfo,
                   KvProjectData_Core_Raw_AnimationStateBlendTarget::GetReflectedDataType());
schema.PointerArray("m_apCode", &T::m_apCode,
                    KvProjectData_Core_Raw_AnimationStateCode::GetReflectedDataType());
schema.PointerArray("m_apTasks", &T::m_apTasks, KvProjectData_Core_Raw_AnimationTask::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationStateMachine, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationStateMachine;
schema.Array("m_astrStateNames", &T::m_astrStateNames);
schema.PointerArray("m_apStates", &T::m_apStates,
                    KvProjectData_Core_Raw_AnimationState::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationStateController, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationStateController;
schema.Member("m_strName", &T::m_strName);
schema.Member("m_strControllerType", &T::m_strControllerType);
schema.Pointer("m_pStateMachine", &T::m_pStateMachine,
               KvProjectData_Core_Raw_AnimationStateMachine::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationGraph, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationGraph;
const KvReflectedDataType* pState = KvProjectData_Core_Raw_AnimationState::GetReflectedDataType();
schema.TypeAttribute(new KvAttribute_Network());
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Member("m_fDefaultBlendTime", &T::m_fDefaultBlendTime);
schema.PointerArray("m_apStates", &T::m_apStates, pState);
schema.Pointer("m_pDefaultState", &T::m_pDefaultState, pState)
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true);
schema.Member("m_strReplacementPattern", &T::m_strReplacementPattern);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationSkeletonBone, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationSkeletonBone;
schema.Member("m_strName", &T::m_strName).With(new KvAttribute_DisplayNameFromMember("%s"));
schema.Member("m_ulBoneIndex", &T::m_ulBoneIndex);
schema.Member("m_quatLocalOrientation", &T::m_quatLocalOrientation);
schema.Member("m_vLocalTranslation", &T::m_vLocalTranslation);
schema.Member("m_quatInvObjOrientation", &T::m_quatInvObjOrientation);
schema.Member("m_vInvObjTranslation", &T::m_vInvObjTranslation);
schema.Pointer("m_pParentBone", &T::m_pParentBone, s_pType).With(new KvAttribute_MemberDataNotOwned());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationSkeleton, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationSkeleton;
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayName("Skeleton name"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema
    .PointerArray("m_apBones", &T::m_apBones,
                  KvProjectData_Core_Raw_AnimationSkeletonBone::GetReflectedDataType())
    .With(new KvAttribute_DisplayName("Bones"));
schema.NestedMember("m_bbox.m_vMin", &T::m_bbox, &KvBoundingBox::m_vMin);
schema.NestedMember("m_bbox.m_vMax", &T::m_bbox, &KvBoundingBox::m_vMax);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AnimationDefinition, ObjectConstructor)
using T = KvProjectData_Core_Raw_AnimationDefinition;
schema.Member("m_strName", &T::m_strName);
schema.PointerArray("m_apEvents", &T::m_apEvents,
                    KvProjectData_Core_Raw_AnimationEventTrack::GetReflectedDataType());
schema.PointerArray("m_apModels", &T::m_apModels,
                    KvProjectData_Core_Raw_AnimationModel::GetReflectedDataType());
schema.PointerArray("m_apGraphs", &T::m_apGraphs,
                    KvProjectData_Core_Raw_AnimationGraph::GetReflectedDataType());
schema.PointerArray("m_apClipReferences", &T::m_apClipReferences,
                    KvProjectData_Core_Raw_AnimationClipRef::GetReflectedDataType());
KV_END_SCHEMA()
