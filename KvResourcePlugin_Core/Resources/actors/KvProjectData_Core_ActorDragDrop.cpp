#include "actions/KvAttributeEventArgs_DragDrop.h"
#include "math/KvEulerAngles.h"
#include "math/KvMatrix44.h"
#include "projectdata/KvProjectData_Core_Actor.h"

#include <cmath>

namespace
{
// Hierarchy scales closer to zero than this are taken as this, so positions stay finite.
constexpr float kMinimumHierarchyScale = 1e-5f;

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
        parentInverse = KvMath::Inverse(pTarget->m_WorldTransform->m_RotationPosition);
        newScale = pTarget->m_WorldTransform->m_fUniformHierarchyScale;
        if (std::fabs(newScale) < kMinimumHierarchyScale)
            newScale = kMinimumHierarchyScale;
    }
    const KvMatrix44 local = pTransform->m_WorldTransform->m_RotationPosition * parentInverse;
    KvTransformSpace* pLocal = pTransform->m_LocalTransform;
    pLocal->m_vYPR = KvMath::YawPitchRollFromRotation(local);
    const float inverseScale = 1.0f / newScale;
    pLocal->m_vPosition = {local.m[3][0] * inverseScale, local.m[3][1] * inverseScale,
                           local.m[3][2] * inverseScale};
    pLocal->m_fUniformHierarchyScale *= oldScale / newScale;

    pTransform->m_pParentTransform = pNewParent;
    pTransform->CalculateWorldFromLocal();
    return true;
}
