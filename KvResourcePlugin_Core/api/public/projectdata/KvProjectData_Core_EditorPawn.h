#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "TypeManager/KvTypedObject.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>

class KvProjectData_Core_Raw_EditorPawn;
class KvProjectData_Core_Raw_KvObjectTransform;

// Something an editor pawn draws through.
class KV_PLUGIN_CORE_API KvEditorPawnCallback
{
public:
    virtual ~KvEditorPawnCallback() = default;
    virtual void OnDrawDebug(KvProjectData_Core_Raw_EditorPawn* pPawn, uint32_t flags) const = 0;
};

// Game-side objects (actor code, components) that draw their own debug view. Run-time
// classes implement it as their first base, so the object's address is the interface's.
class KV_PLUGIN_CORE_API KvEditorDebugDrawable
{
public:
    virtual ~KvEditorDebugDrawable() = default;
    virtual void OnDrawDebug(KvProjectData_Core_Raw_EditorPawn* pPawn, uint32_t flags) const = 0;
};

// The editor-only proxy that draws an object in the editor's view. Never saved.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EditorPawn
    : public KvXRefObject<KvProjectData_Core_Raw_EditorPawn>
{
public:
    KvProjectData_Core_Raw_EditorPawn() = default;
    // Frees the transform its link points to, unless the link was cleared.
    ~KvProjectData_Core_Raw_EditorPawn() override;

    KvProjectData_Core_Raw_EditorPawn(const KvProjectData_Core_Raw_EditorPawn&) = delete;
    KvProjectData_Core_Raw_EditorPawn& operator=(const KvProjectData_Core_Raw_EditorPawn&) = delete;

    // Draws the pawn through its callback object.
    void DrawDebug(uint32_t flags);

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

// Base of the game's preview handlers, created by class name.
class KV_PLUGIN_CORE_API KvEditorPawnCallbackHandler : public KvTypedObject, public KvEditorPawnCallback
{
    KV_DECLARE_TYPED_CLASS(KvEditorPawnCallbackHandler, KvTypedObject)

public:
    // The callback interface's destructor may not throw, so a fatal error in this one ends
    // the process even where the host asked for it to be raised.
    ~KvEditorPawnCallbackHandler() noexcept override = default;

    // Gives the handler the object it previews and that object's type.
    virtual void SetPreviewedObject(const KvReflectedDataType* pType, void* pObject) = 0;

    // A new handler of the named class when it is this class or derives from it; else null.
    static KvEditorPawnCallbackHandler* CreateInstance(const char* className);
};
