#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "math/KvQuaternion.h"
#include "math/KvVector.h"
#include "projectdata/KvProjectData_Core_CodeHolder.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>
#include <string>
#include <vector>

// A named moment of an animation with an integer, float and text payload.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationEvent
{
public:
    KvProjectData_Core_Raw_AnimationEvent() = default;
    // Each fatal without a name (the text variant also without its text).
    KvProjectData_Core_Raw_AnimationEvent(const char* name, float time);
    KvProjectData_Core_Raw_AnimationEvent(const char* name, float time, int32_t value);
    // The integer payload is value truncated toward zero; NaN gives 0, values beyond the
    // 32-bit range the nearest end.
    KvProjectData_Core_Raw_AnimationEvent(const char* name, float time, float value);
    KvProjectData_Core_Raw_AnimationEvent(const char* name, float time, const char* text);

    std::string m_strName;
    float m_fTime = 0.0f;
    int32_t m_iPlayload = 0;
    float m_fPayload = 0.0f;
    std::string m_strPayload;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationEventTrack
    : public KvXRefObject<KvProjectData_Core_Raw_AnimationEventTrack>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_AnimationEvent> m_aEvents;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationModel
{
public:
    std::string m_strAgentName;
    std::string m_strAnimationGraphName;
    std::string m_strSkeletonName;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KvProjectData_Core_Raw_AnimationState;

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationStateBlendTarget
{
public:
    KvProjectData_Core_Raw_AnimationState* m_pTargetState = nullptr;
    float m_fBlendTime = 0.0f;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KvProjectData_Core_Raw_AnimationClip;

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationClipRef
{
public:
    bool m_bIsCyclic = false;
    KvProjectData_Core_Raw_AnimationClip* m_pClip = nullptr;
    float m_fClipStart = 0.0f;
    float m_fClipEnd = -1.0f;

    static const KvReflectedDataType* GetReflectedDataType();
};

KV_DECLARE_CODE_HOLDER(KvProjectData_Core_Raw_AnimationTask);
KV_DECLARE_CODE_HOLDER(KvProjectData_Core_Raw_AnimationStateCode);

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationState
    : public KvXRefObject<KvProjectData_Core_Raw_AnimationState>
{
public:
    std::string m_strName;
    float m_fDefaultBlendTime = -1.0f;
    std::vector<KvProjectData_Core_Raw_AnimationStateBlendTarget> m_apBlendInfo;
    std::vector<KvProjectData_Core_Raw_AnimationStateCode*> m_apCode;
    std::vector<KvProjectData_Core_Raw_AnimationTask*> m_apTasks;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationStateMachine
{
public:
    std::vector<std::string> m_astrStateNames;
    std::vector<KvProjectData_Core_Raw_AnimationState*> m_apStates;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationStateController
{
public:
    std::string m_strName;
    std::string m_strControllerType;
    KvProjectData_Core_Raw_AnimationStateMachine* m_pStateMachine = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationGraph
    : public KvXRefObject<KvProjectData_Core_Raw_AnimationGraph>
{
public:
    std::string m_strName;
    float m_fDefaultBlendTime = 0.1f;
    std::vector<KvProjectData_Core_Raw_AnimationState*> m_apStates;
    KvProjectData_Core_Raw_AnimationState* m_pDefaultState = nullptr;
    std::string m_strReplacementPattern;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationSkeletonBone
{
public:
    virtual ~KvProjectData_Core_Raw_AnimationSkeletonBone() = default;

    std::string m_strName;
    uint32_t m_ulBoneIndex = 0;
    KvQuaternion m_quatLocalOrientation;
    KvVector3 m_vLocalTranslation;
    KvQuaternion m_quatInvObjOrientation;
    KvVector3 m_vInvObjTranslation;
    KvProjectData_Core_Raw_AnimationSkeletonBone* m_pParentBone = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationSkeleton
    : public KvXRefObject<KvProjectData_Core_Raw_AnimationSkeleton>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_AnimationSkeletonBone*> m_apBones;
    KvBoundingBox m_bbox;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The raw data of the animation definition resource.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AnimationDefinition
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_AnimationEventTrack*> m_apEvents;
    std::vector<KvProjectData_Core_Raw_AnimationModel*> m_apModels;
    std::vector<KvProjectData_Core_Raw_AnimationGraph*> m_apGraphs;
    std::vector<KvProjectData_Core_Raw_AnimationClipRef*> m_apClipReferences;

    static const KvReflectedDataType* GetReflectedDataType();
};
