#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "math/KvMatrix44.h"
#include "math/KvVector.h"

class KvReflectedDataType;

// One transform, local or world: position, yaw/pitch/roll in degrees, per-axis scale and the
// scale handed down the hierarchy, with the matrices last computed from them.
class KV_PLUGIN_CORE_API KvTransformSpace
{
public:
    KvVector3 m_vPosition;
    // x = yaw, y = pitch, z = roll, degrees.
    KvVector3 m_vYPR;
    KvVector3 m_vScale{1.0f, 1.0f, 1.0f};
    float m_fUniformHierarchyScale = 1.0f;
    // Rotation rows and position row.
    KvMatrix44 m_RotationPosition;
    // Scaled rotation rows and position row.
    KvMatrix44 m_Full;

    static const KvReflectedDataType* GetReflectedDataType();
};

// A local transform, the world transform derived from it and the parent it hangs under.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_KvObjectTransform
{
public:
    KvProjectData_Core_Raw_KvObjectTransform();
    ~KvProjectData_Core_Raw_KvObjectTransform();

    KvProjectData_Core_Raw_KvObjectTransform(const KvProjectData_Core_Raw_KvObjectTransform&) = delete;
    KvProjectData_Core_Raw_KvObjectTransform&
    operator=(const KvProjectData_Core_Raw_KvObjectTransform&) = delete;

    // The world transform from the local one and the parent's world transform as it stands.
    void CalculateWorldFromLocal();
    // The chain from the root down to this transform, each once.
    void CalculateEntireHierarchy();

    KvTransformSpace* m_LocalTransform;
    KvTransformSpace* m_WorldTransform;
    KvProjectData_Core_Raw_KvObjectTransform* m_pParentTransform = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};
