#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvProjectData_Core_CodeHolder.h"
#include "projectdata/KvProjectData_Core_EditorPawn.h"
#include "projectdata/KvProjectData_Core_Transform.h"
#include "projectdata/KvXRefObject.h"
#include "reflection/KvReflectedObjCtorContext.h"

#include <string>
#include <vector>

struct KvAttributeEventArgs_DragDrop;
class KvProjectData_Core_Raw_ActorPrefab;
class KvProjectData_Core_Raw_ParticleSystem;
class KvProjectData_Core_Raw_RenderShapeMesh;
class KvReflectedPrimitive;

KV_DECLARE_CODE_HOLDER(KvProjectData_Core_Raw_ActorComponent);
KV_DECLARE_CODE_HOLDER(KvProjectData_Core_Raw_ActorEntryCode);
KV_DECLARE_CODE_HOLDER(KvProjectData_Core_Raw_ActorTrigger);
KV_DECLARE_CODE_HOLDER(KvProjectData_Core_Raw_ActorWorldCode);

// A placed object: transform, children, code, components, default shapes, optional prefab.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_ActorEntry : public KvEditorPawnCallback
{
public:
    KvProjectData_Core_Raw_ActorEntry();
    // "By Prefab": an instance of the context's prefab, or a new actor for "NONE".
    explicit KvProjectData_Core_Raw_ActorEntry(const KvReflectedObjCtorContext& context);
    // Destroys the pawn (keeping the transform); the members are released by the host.
    ~KvProjectData_Core_Raw_ActorEntry() override;

    KvProjectData_Core_Raw_ActorEntry(const KvProjectData_Core_Raw_ActorEntry&) = delete;
    KvProjectData_Core_Raw_ActorEntry& operator=(const KvProjectData_Core_Raw_ActorEntry&) = delete;

    void CreateEditorPawn();
    // Replaces the constructor's transform by the loaded one and relinks the parent.
    void PostDeserialize();
    void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const override;

    static void OnParentChanged(const KvReflectedDataType* pParentType, void* pParent,
                                const KvReflectedPrimitive* pMember, void* pActor);
    static void GetDisplayName(std::string& outName, const KvReflectedDataType* pType, const void* pObject);
    static void GetConstructContexts(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                     const KvReflectedDataType* pTargetType, void* pParentObject,
                                     const KvReflectedPrimitive* pParentMember);
    // Keeps the moved actor where it was in the world while its parent changes.
    static bool OnAfterDragDrop(KvAttributeEventArgs_DragDrop* pArguments);

    KvProjectData_Core_Raw_KvObjectTransform* m_pTransform = nullptr;
    std::string m_strName = "[DEFAULT]";
    std::vector<KvProjectData_Core_Raw_ActorEntryCode*> m_apActorCode;
    KvProjectData_Core_Raw_ActorEntry* m_pParentActor = nullptr;
    KvProjectData_Core_Raw_RenderShapeMesh* m_pDefaultEditorShape = nullptr;
    bool m_bExcludeFromShadowPass = false;
    bool m_bRequiresNetworkReplication = true;
    bool m_bPartialReplication = false;
    KvProjectData_Core_Raw_ParticleSystem* m_pDefaultParticleShape = nullptr;
    KvProjectData_Core_Raw_ActorPrefab* m_pPrefab = nullptr;
    std::vector<KvProjectData_Core_Raw_ActorEntry*> m_apChildren;
    std::vector<KvProjectData_Core_Raw_ActorComponent*> m_apComponents;
    KvProjectData_Core_Raw_EditorPawn* m_pEditorPawn = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();

private:
    void DestroyEditorPawn();
};

// A reusable actor template.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_ActorPrefab
    : public KvXRefObject<KvProjectData_Core_Raw_ActorPrefab>,
      public KvEditorPawnCallback
{
public:
    void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const override;

    std::string m_strName;
    std::string m_strDescription;
    bool m_bPartialReplication = false;
    bool m_bRequiresNetworkReplication = true;
    std::vector<KvProjectData_Core_Raw_ActorEntryCode*> m_apActorCode;
    std::vector<KvProjectData_Core_Raw_ActorEntry*> m_apActors;
    std::vector<KvProjectData_Core_Raw_ActorComponent*> m_apComponents;
    KvProjectData_Core_Raw_RenderShapeMesh* m_pDefaultEditorShape = nullptr;
    KvProjectData_Core_Raw_ParticleSystem* m_pDefaultParticleShape = nullptr;
    void* m_pRunResource = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_ActorLayer
    : public KvXRefObject<KvProjectData_Core_Raw_ActorLayer>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_ActorEntry*> m_apActors;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_ActorLayerRef
{
public:
    KvProjectData_Core_Raw_ActorLayer* m_pLayerRef = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KvProjectData_Core_Raw_ActorWorld;

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_ActorWorldRef
{
public:
    KvProjectData_Core_Raw_ActorWorld* m_pWorld = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_ActorWorld
    : public KvXRefObject<KvProjectData_Core_Raw_ActorWorld>
{
public:
    // A default transform and layer, and a pawn drawing the world at its transform.
    KvProjectData_Core_Raw_ActorWorld();
    // Destroys the pawn (keeping the transform); the members are released by the host.
    ~KvProjectData_Core_Raw_ActorWorld() override;

    KvProjectData_Core_Raw_ActorWorld(const KvProjectData_Core_Raw_ActorWorld&) = delete;
    KvProjectData_Core_Raw_ActorWorld& operator=(const KvProjectData_Core_Raw_ActorWorld&) = delete;

    std::vector<KvProjectData_Core_Raw_ActorWorldRef*> m_apSubWorlds;
    std::vector<KvProjectData_Core_Raw_ActorLayerRef*> m_apLayers;
    std::vector<KvProjectData_Core_Raw_ActorWorldCode*> m_apWorldCode;
    std::string m_strName;
    KvProjectData_Core_Raw_KvObjectTransform* m_pTransform;
    KvProjectData_Core_Raw_ActorLayer* m_pDefaultLayer;
    KvProjectData_Core_Raw_EditorPawn* m_pEditorPawn;

    static const KvReflectedDataType* GetReflectedDataType();
};
