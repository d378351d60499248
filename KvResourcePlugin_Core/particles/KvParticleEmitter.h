#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImportBudget.h"
#include "math/KvVector.h"
#include "particles/KvParticleRecords.h"

#include <string>

class KvCurve2D;
class KvReflectedDataType;

// Where and how often a particle group's particles are born: a group's "defaultemitter".
class KV_PLUGIN_CORE_API KvParticleEmitter
{
public:
    enum eType : int32_t
    {
        TYPE_UNKNOWN = -1,
        TYPE_POINT,
        TYPE_SPHERE,
        TYPE_BOX,
        TYPE_PLANE,
        TYPE_PATH,
        TYPE_RAY,
        TYPE_MESH,
    };

    KvParticleEmitter() = default;
    ~KvParticleEmitter();
    KvParticleEmitter(const KvParticleEmitter&) = delete;
    KvParticleEmitter& operator=(const KvParticleEmitter&) = delete;

    // Reads a "defaultemitter" element; false once the budget is spent.
    bool Read(const rapidxml::xml_node<>& element, KvImportBudget& budget);
    static const KvReflectedDataType* GetReflectedDataType();

    int32_t m_iType = TYPE_POINT;
    // The extent of the type's shape; each is read only for its type.
    float m_fRadius = 0.0f;
    KvVector3 m_vBoxDim;
    KvVector2 m_vPlaneDim;
    float m_fLength = 0.0f;
    std::string m_strMask;
    KvParticleRange m_StartupFillPercentage{-1.0f, 0.0f};
    KvParticleRange m_FixParticleCount{-1.0f, 0.0f};
    KvParticleRange m_Frequency{20.0f, 0.0f};
    // The particle count over time, repeated every m_fCountLookupTime seconds.
    KvCurve2D* m_pCountLookup = nullptr;
    float m_fCountLookupTime = 10.0f;
    bool m_bCountLookupRandomOfs = false;
    // Drawn in [0, 1) when m_bCountLookupRandomOfs is set, so that emitters of one effect do not
    // pulse together.
    KvVector2 m_vCountLookupOffsets;
    KvVector2 m_vConeAngle{-1.0f, 0.0f};
    int32_t m_iConeMode = 0;
};
