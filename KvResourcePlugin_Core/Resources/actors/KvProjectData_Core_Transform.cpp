#include "projectdata/KvProjectData_Core_Transform.h"

#include "math/KvEulerAngles.h"
#include "projectdata/KvSchema.h"

#include <algorithm>
#include <vector>

namespace
{
// diag(sx, sy, sz, 1) x m: each rotation row scaled; row 3 set to the position.
KvMatrix44 ScaledRows(const KvMatrix44& matrix, const KvVector3& scale, const KvVector3& position)
{
    KvMatrix44 result = matrix;
    const float factors[3] = {scale.x, scale.y, scale.z};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            result.m[row][column] *= factors[row];
    result.m[3][0] = position.x;
    result.m[3][1] = position.y;
    result.m[3][2] = position.z;
    return result;
}
} // namespace

KvProjectData_Core_Raw_KvObjectTransform::KvProjectData_Core_Raw_KvObjectTransform()
    : m_LocalTransform(new KvTransformSpace()), m_WorldTransform(new KvTransformSpace())
{
}

KvProjectData_Core_Raw_KvObjectTransform::~KvProjectData_Core_Raw_KvObjectTransform()
{
    delete m_LocalTransform;
    delete m_WorldTransform;
}

void KvProjectData_Core_Raw_KvObjectTransform::CalculateWorldFromLocal()
{
    KvTransformSpace* pLocal = m_LocalTransform;
    KvTransformSpace* pWorld = m_WorldTransform;
    if (!pLocal || !pWorld)
        return;

    KvMatrix44& rotation = pLocal->m_RotationPosition;
    rotation = KvMath::RotationFromYawPitchRoll(pLocal->m_vYPR);
    rotation.m[3][0] = pLocal->m_vPosition.x;
    rotation.m[3][1] = pLocal->m_vPosition.y;
    rotation.m[3][2] = pLocal->m_vPosition.z;
    pLocal->m_Full =
        ScaledRows(rotation, pLocal->m_vScale * pLocal->m_fUniformHierarchyScale, pLocal->m_vPosition);

    const KvTransformSpace* pParent = m_pParentTransform ? m_pParentTransform->m_WorldTransform : nullptr;
    if (!pParent)
    {
        *pWorld = *pLocal;
        return;
    }
    pWorld->m_fUniformHierarchyScale = pParent->m_fUniformHierarchyScale * pLocal->m_fUniformHierarchyScale;
    pWorld->m_vScale = pLocal->m_vScale * pWorld->m_fUniformHierarchyScale;
    pWorld->m_RotationPosition = pLocal->m_RotationPosition * pParent->m_RotationPosition;
    // The parent's per-axis scale does not move children; its hierarchy scale does.
    const KvVector3 q = pLocal->m_vPosition * pParent->m_fUniformHierarchyScale;
    const KvMatrix44& parent = pParent->m_RotationPosition;
    for (int column = 0; column < 3; ++column)
        pWorld->m_RotationPosition.m[3][column] = q.x * parent.m[0][column] + q.y * parent.m[1][column] +
                                                  q.z * parent.m[2][column] + parent.m[3][column];
    pWorld->m_vPosition = {pWorld->m_RotationPosition.m[3][0], pWorld->m_RotationPosition.m[3][1],
                           pWorld->m_RotationPosition.m[3][2]};
    pWorld->m_vYPR = KvMath::YawPitchRollFromRotation(pWorld->m_RotationPosition);
    pWorld->m_Full = ScaledRows(pWorld->m_RotationPosition, pWorld->m_vScale, pWorld->m_vPosition);
}

void KvProjectData_Core_Raw_KvObjectTransform::CalculateEntireHierarchy()
{
    // Parents first, root down; the chain is walked without recursion so a loop cannot
    // exhaust the stack (each transform is computed at most once).
    std::vector<KvProjectData_Core_Raw_KvObjectTransform*> chain;
    for (KvProjectData_Core_Raw_KvObjectTransform* pTransform = this; pTransform;
         pTransform = pTransform->m_pParentTransform)
    {
        if (std::find(chain.begin(), chain.end(), pTransform) != chain.end())
            break;
        chain.push_back(pTransform);
    }
    for (auto transform = chain.rbegin(); transform != chain.rend(); ++transform)
        (*transform)->CalculateWorldFromLocal();
}

KV_BEGIN_SCHEMA(KvTransformSpace, ObjectConstructor)
schema.Member("m_vPosition", &KvTransformSpace::m_vPosition);
schema.Member("m_vYPR", &KvTransformSpace::m_vYPR);
schema.Member("m_vScale", &KvTransformSpace::m_vScale);
schema.Member("m_fUniformHierarchyScale", &KvTransformSpace::m_fUniformHierarchyScale);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_KvObjectTransform, ObjectConstructor)
using T = KvProjectData_Core_Raw_KvObjectTransform;
schema.Pointer("m_LocalTransform", &T::m_LocalTransform, KvTransformSpace::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode());
schema.Pointer("m_WorldTransform", &T::m_WorldTransform, KvTransformSpace::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode());
schema.Pointer("m_pParentTransform", &T::m_pParentTransform, s_pType)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_HideInPropertyGrid())
    .With(new KvAttribute_MemberDataNotOwned());
KV_END_SCHEMA()
