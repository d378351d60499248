#include "projectdata/KvProjectData_Core_Transform.h"

#include "projectdata/KvSchema.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kRadiansToDegrees = 57.29578f;
// Below this cosine of the pitch the yaw and roll cannot be told apart.
constexpr float kGimbalLockCosine = 0.005f;

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

KvMatrix44 KvMatrix44::operator*(const KvMatrix44& other) const
{
    KvMatrix44 result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            result.m[row][column] = m[row][0] * other.m[0][column] + m[row][1] * other.m[1][column] +
                                    m[row][2] * other.m[2][column] + m[row][3] * other.m[3][column];
    return result;
}

KvVector3 KvExtractYawPitchRoll(const KvMatrix44& matrix)
{
    const float m0 = matrix.m[0][0], m1 = matrix.m[0][1], m2 = matrix.m[0][2];
    const float m3 = matrix.m[1][0], m4 = matrix.m[1][1], m5 = matrix.m[1][2];
    const float m8 = matrix.m[2][2];
    // Rounding may take m5 a hair past 1; asin would give NaN.
    const float a = std::asin(std::clamp(m5, -1.0f, 1.0f));
    const float c = std::cos(a);
    float yaw = 0.0f;
    float roll = 0.0f;
    if (std::fabs(c) > kGimbalLockCosine)
    {
        yaw = std::atan2(m3 / c, m4 / c);
        roll = std::atan2(m2 / c, m8 / c);
    }
    else
        yaw = std::atan2(-m1, m0);
    return {yaw * kRadiansToDegrees, -a * kRadiansToDegrees, roll * kRadiansToDegrees};
}

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

    const float yaw = pLocal->m_vYPR.x * kDegreesToRadians;
    const float pitch = pLocal->m_vYPR.y * kDegreesToRadians;
    const float roll = pLocal->m_vYPR.z * kDegreesToRadians;
    const float cy = std::cos(yaw), sy = std::sin(yaw);
    const float cp = std::cos(pitch), sp = std::sin(pitch);
    const float cr = std::cos(roll), sr = std::sin(roll);
    KvMatrix44& rotation = pLocal->m_RotationPosition;
    rotation = KvMatrix44();
    const float rows[3][3] = {{sp * sr * sy + cy * cr, sp * sr * cy - sy * cr, sr * cp},
                              {sy * cp, cy * cp, -sp},
                              {sp * cr * sy - sr * cy, sp * cr * cy + sy * sr, cp * cr}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            rotation.m[row][column] = rows[row][column];
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
    pWorld->m_vYPR = KvExtractYawPitchRoll(pWorld->m_RotationPosition);
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
