#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "TypeManager/KvTypedObject.h"
#include "editor/KvEditorPawn.h"
#include "editor/KvEditorPawnCallback.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>

class KvProjectData_Core_Raw_KvObjectTransform;

// The editor-only proxy that draws an object in the editor's view. Never saved.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EditorPawn
    : public KvXRefObject<KvProjectData_Core_Raw_EditorPawn>,
      public KvEditorPawn
{
public:
    KvProjectData_Core_Raw_EditorPawn() = default;
    // Frees the transform its link points to, unless the link was cleared.
    ~KvProjectData_Core_Raw_EditorPawn() override;

    KvProjectData_Core_Raw_EditorPawn(const KvProjectData_Core_Raw_EditorPawn&) = delete;
    KvProjectData_Core_Raw_EditorPawn& operator=(const KvProjectData_Core_Raw_EditorPawn&) = delete;

    // Draws the pawn through its callback object.
    void DrawDebug(uint32_t flags);
    // The world position of the transform it is linked to.
    KvVector3 GetWorldPosition() const override;

    void* m_pObject = nullptr;
    const KvReflectedDataType* m_pObjectType = nullptr;
    KvProjectData_Core_Raw_KvObjectTransform* m_pTransform = nullptr;
    // Addresses of the owner's render shape, particle shape and prefab pointer members.
    void* m_ppRenderShape = nullptr;
    void* m_ppParticleShape = nullptr;
    void* m_ppPrefab = nullptr;
    const KvEditorPawnCallback* m_pCallback = nullptr;
    // The editor's preview state.
    bool m_bSelected = false;
    bool m_bVisible = true;

    static const KvReflectedDataType* GetReflectedDataType();
};

// Made from a pawn and an opaque pointer for the editor's physics preview.
class KV_PLUGIN_CORE_API KvEditorPhysicsEntry : public KvTypedObject
{
    KV_DECLARE_TYPED_CLASS(KvEditorPhysicsEntry, KvTypedObject)

public:
    KvEditorPhysicsEntry() = default;
    KvEditorPhysicsEntry(KvProjectData_Core_Raw_EditorPawn* pPawn, void* pPhysicsObject)
        : m_pPawn(pPawn), m_pPhysicsObject(pPhysicsObject)
    {
    }

    KvProjectData_Core_Raw_EditorPawn* m_pPawn = nullptr;
    void* m_pPhysicsObject = nullptr;
};
