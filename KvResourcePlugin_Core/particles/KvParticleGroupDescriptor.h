#pragma once

#include "Foundation/KvColor.h"
#include "KvResourcePlugin_CoreExport.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImportBudget.h"
#include "math/KvVector.h"
#include "particles/KvParticleEmitter.h"
#include "particles/KvParticleRecords.h"

#include <cstdint>
#include <string>

class KvBitmap;
class KvColorCurve;
class KvCurve2D;
class KvPositionCurve;
class KvReflectedDataType;

// One group of particles of an effect ("groupdescriptor"): how its particles look, move and
// die, and its default emitter. Values are those of the file, or these when the file has none.
class KV_PLUGIN_CORE_API KvParticleGroupDescriptor
{
public:
    static constexpr int32_t kUnknownTopology = 99;
    static constexpr uint32_t kAllBits = 0xFFFFFFFF;
    static constexpr KvColor kOpaqueWhite{255, 255, 255, 255};

    KvParticleGroupDescriptor() = default;
    ~KvParticleGroupDescriptor();
    KvParticleGroupDescriptor(const KvParticleGroupDescriptor&) = delete;
    KvParticleGroupDescriptor& operator=(const KvParticleGroupDescriptor&) = delete;

    // Reads a "groupdescriptor" element; false once the budget is spent.
    bool Read(const rapidxml::xml_node<>& element, KvImportBudget& budget);
    static const KvReflectedDataType* GetReflectedDataType();

    // description
    std::string m_strName;
    std::string m_strDescription;
    KvParticleEmitter m_DefaultEmitter;
    // group
    int32_t m_iTopology = kUnknownTopology;
    bool m_bLocalSpace = false;
    KvVector3 m_vLocalPos;
    KvVector3 m_vLocalOri;
    KvPositionCurve* m_pPositionCurve = nullptr;
    KvPositionCurve* m_pOrientationCurve = nullptr;
    float m_fTCurveTime = 1.0f;
    float m_fTCurveRadius = 1.0f;
    bool m_bUseTCurve = false;
    int32_t m_iSortKey = 0;
    KvParticleRange m_Lifetime{-1.0f, 0.0f};
    KvParticleRange m_TimeScale{1.0f, 0.0f};
    KvParticleRange m_Delay;
    // group/texture
    KvBitmap* m_pTexture = nullptr;
    KvBitmap* m_pNormalMap = nullptr;
    int32_t m_iTransparency = 3;
    float m_fSizeAspect = 1.0f;
    KvParticleInt2 m_AnimationSubdiv{1, 1};
    // A negative count in the file means every frame of the subdivision.
    int32_t m_iUsedFrames = 1;
    KvVector2 m_vCenter{0.5f, 0.5f};
    bool m_bHasCenter = false;
    // group/lighting
    KvColor m_colModColor = kOpaqueWhite;
    // Written by "usescenebrightness" as a flag, then by "applyscenebrightness" as a float.
    float m_fSceneBrightness = 0.0f;
    KvColor m_colDefaultSceneBrightness = kOpaqueWhite;
    bool m_bMakeColorGradient = false;
    KvColor m_colModColor2 = kOpaqueWhite;
    std::string m_strRandomColor;
    // group/geometry, group/Shader
    std::string m_strMeshFile;
    std::string m_strEffect;
    std::string m_strParamString;
    // group/visibility
    KvParticleBox m_BoundingBox;
    float m_fDynamicInflateInterval = 1.0f;
    float m_fDepthOfs = 0.0f;
    bool m_bSoftParticles = false;
    bool m_bAlwaysInForeground = false;
    bool m_bHandleWhenVisible = false;
    uint32_t m_ulFilterMask = kAllBits;
    int32_t m_iFadeMode = 0;
    float m_fFadeStart = 1000.0f;
    float m_fFadeEnd = 2000.0f;
    // particles
    bool m_bSorting = false;
    KvParticleRange m_ParticleLifetime{5.0f, 0.3f};
    KvColorCurve* m_pColorCurve = nullptr;
    bool m_bDistortion = false;
    bool m_bPlaneAligned = false;
    KvParticleRange m_FixLength{-1.0f, 0.0f};
    KvParticleRange m_SpeedMultiplier{0.5f, 0.1f};
    bool m_bSizeMode = false;
    KvVector4 m_vSizeMultiplier;
    bool m_bNormal = false;
    KvVector4 m_vNormalDir;
    KvParticleRange m_SizeStart{5.0f, 0.5f};
    KvParticleRange m_SizeGrowth{5.0f, 0.5f};
    // Scales the start size over a particle's life; with it the start is 1 unless the file says 1.
    KvCurve2D* m_pSizeCurve = nullptr;
    int32_t m_iAnimationMode = 0;
    bool m_bStartRandomFrame = false;
    KvParticleRange m_AnimTime{2.0f, 0.3f};
    bool m_bSmoothAnimation = false;
    KvParticleRange m_Speed{100.0f, 0.5f};
    int32_t m_iRotationMode = 0;
    KvVector2 m_vInitialAngle;
    KvVector2 m_vRotationSpeed;
    float m_fCurveDuration = -1.0f;
    bool m_bRandomCurveOfs = false;
    KvVector3 m_vGravity;
    float m_fFriction = 0.5f;
    float m_fEmitterSpeed = 0.0f;
    KvParticleRange m_Inertia;
    uint32_t m_ulConstraintBitmask = kAllBits;
    bool m_bGravityInertia = true;
    bool m_bRepeatOnDestroy = false;
    KvParticleRange m_NewParticleCount{-1.0f, 0.0f};
    std::string m_strNewParticleGroup;
    int32_t m_iCopyFlags = 1;
    // optional
    KvCurve2D* m_pCustomCurve = nullptr;
    KvColorCurve* m_pCustomColorCurve = nullptr;
    int32_t m_iCustomInt = 0;
};
