#include "Actions/KvAttributeEventArgs_DragDrop.h"
#include "projectdata/KvProjectData_Core_Actor.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
// Hierarchy scales closer to zero than this are taken as this, so positions stay finite.
constexpr float kMinimumHierarchyScale = 1e-5f;

// The inverse of a 4x4 matrix by Gauss-Jordan elimination; the identity when singular.
KvMatrix44 Inverse(const KvMatrix44& matrix)
{
    float a[4][8];
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
        {
            a[row][column] = matrix.m[row][column];
            a[row][column + 4] = row == column ? 1.0f : 0.0f;
        }
    for (int column = 0; column < 4; ++column)
    {
        int pivot = column;
        for (int row = column + 1; row < 4; ++row)
            if (std::fabs(a[row][column]) > std::fabs(a[pivot][column]))
                pivot = row;
        if (std::fabs(a[pivot][column]) < 1e-12f)
            return KvMatrix44();
        std::swap(a[pivot], a[column]);
        const float scale = 1.0f / a[column][column];
        for (float& value : a[column])
            value *= scale;
        for (int row = 0; row < 4; ++row)
        {
            if (row == column)
                continue;
            const float factor = a[row][column];
            for (int k = 0; k < 8; ++k)
                a[row][k] -= factor * a[column][k];
        }
    }
    KvMatrix44 result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            result.m[row][column] = a[row][column + 4];
    return result;
}

// The transform of an actor the drag and drop names, or null when it is not an actor.
KvProjectData_Core_Raw_KvObjectTransform* ActorTransform(const KvReflectedDataType* pType, void* pObject)
{
    if (pType != KvProjectData_Core_Raw_ActorEntry::GetReflectedDataType() || !pObject)
        return nullptr;
    return static_cast<KvProjectData_Core_Raw_ActorEntry*>(pObject)->m_pTransform;
}
} // namespace

bool KvProjectData_Core_Raw_ActorEntry::OnAfterDragDrop(KvAttributeEventArgs_DragDrop* pArguments)
{
    auto* pMoved = static_cast<KvProjectData_Core_Raw_ActorEntry*>(pArguments->m_pMoved);
    KvProjectData_Core_Raw_KvObjectTransform* pTransform = pMoved ? pMoved->m_pTransform : nullptr;
    if (!pTransform || !pTransform->m_LocalTransform)
        return true;
    KvProjectData_Core_Raw_KvObjectTransform* pNewParent = pTransform->m_pParentTransform;
    const KvProjectData_Core_Raw_KvObjectTransform* pTarget =
        ActorTransform(pArguments->m_pTargetType, pArguments->m_pTarget);
    KvProjectData_Core_Raw_KvObjectTransform* pOldParent =
        ActorTransform(pArguments->m_pPreviousParentType, pArguments->m_pPreviousParent);
    const float oldScale = pOldParent && pOldParent->m_WorldTransform
                               ? pOldParent->m_WorldTransform->m_fUniformHierarchyScale
                               : 1.0f;

    // The placement before the move.
    pTransform->m_pParentTransform = pOldParent;
    pTransform->CalculateWorldFromLocal();

    KvMatrix44 parentInverse;
    float newScale = 1.0f;
    if (pTarget && pTarget->m_WorldTransform)
    {
        parentInverse = Inverse(pTarget->m_WorldTransform->m_RotationPosition);
        newScale = pTarget->m_WorldTransform->m_fUniformHierarchyScale;
        if (std::fabs(newScale) < kMinimumHierarchyScale)
            newScale = kMinimumHierarchyScale;
    }
    const KvMatrix44 local = pTransform->m_WorldTransform->m_RotationPosition * parentInverse;
    KvTransformSpace* pLocal = pTransform->m_LocalTransform;
    pLocal->m_vYPR = KvExtractYawPitchRoll(local);
    const float inverseScale = 1.0f / newScale;
    pLocal->m_vPosition = {local.m[3][0] * inverseScale, local.m[3][1] * inverseScale,
                           local.m[3][2] * inverseScale};
    pLocal->m_fUniformHierarchyScale *= oldScale / newScale;

    pTransform->m_pParentTransform = pNewParent;
    pTransform->CalculateWorldFromLocal();
    return true;
}
