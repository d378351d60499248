#include "projectdata/KvProjectData_Core_Actor.h"

#include "actions/KvActionFactories.h"
#include "actions/KvAttributeEventArgs_DragDrop.h"
#include "projectdata/KvConstructContexts.h"
#include "projectdata/KvSchema.h"

#include <cmath>

namespace
{
const KvReflectedDataType* TransformType()
{
    return KvProjectData_Core_Raw_KvObjectTransform::GetReflectedDataType();
}
} // namespace

KV_CODE_HOLDER_SCHEMA(
    KvProjectData_Core_Raw_ActorComponent, false, new KvAttribute_NoSorting(),
    new KvAttribute_SkipVirtualNode(),
    new KvAttribute_CtorByTypeInheritance("By Type", "KvActorComponentCode",
                                          new ObjectCtor<KvProjectData_Core_Raw_ActorComponent>()))
KV_CODE_HOLDER_SCHEMA(KvProjectData_Core_Raw_ActorEntryCode, true, new KvAttribute_NoSorting(),
                      new KvAttribute_SkipVirtualNode(),
                      new KvAttribute_CtorByTypeInheritance(
                          "By Type", "KvActorCode", new ObjectCtor<KvProjectData_Core_Raw_ActorEntryCode>()))
KV_CODE_HOLDER_SCHEMA(KvProjectData_Core_Raw_ActorTrigger, true,
                      new KvAttribute_CtorByTypeInheritance(
                          "By Type", "KvActorTrigger", new ObjectCtor<KvProjectData_Core_Raw_ActorTrigger>()))
KV_CODE_HOLDER_SCHEMA(KvProjectData_Core_Raw_ActorWorldCode, true,
                      new KvAttribute_CtorByTypeInheritance(
                          "By Type", "KvWorldCode", new ObjectCtor<KvProjectData_Core_Raw_ActorWorldCode>()),
                      new KvAttribute_NoSorting(), new KvAttribute_SkipVirtualNode())

KvProjectData_Core_Raw_ActorEntry::KvProjectData_Core_Raw_ActorEntry()
    : m_pTransform(static_cast<KvProjectData_Core_Raw_KvObjectTransform*>(
          TransformType()->GetObjectConstructor()->Create()))
{
    CreateEditorPawn();
}

KvProjectData_Core_Raw_ActorEntry::KvProjectData_Core_Raw_ActorEntry(const KvReflectedObjCtorContext& context)
    : m_pTransform(static_cast<KvProjectData_Core_Raw_KvObjectTransform*>(
          TransformType()->GetObjectConstructor()->Create())),
      m_pPrefab(static_cast<KvProjectData_Core_Raw_ActorPrefab*>(context.m_pSourceObject))
{
    m_strName = m_pPrefab ? "[PREFAB]" + m_pPrefab->m_strName : "[NEW ACTOR]";
    CreateEditorPawn();
}

KvProjectData_Core_Raw_ActorEntry::~KvProjectData_Core_Raw_ActorEntry()
{
    DestroyEditorPawn();
}

void KvProjectData_Core_Raw_ActorEntry::CreateEditorPawn()
{
    if (m_pEditorPawn)
        return;
    m_pEditorPawn = new KvProjectData_Core_Raw_EditorPawn();
    m_pEditorPawn->m_pTransform = m_pTransform;
    m_pEditorPawn->m_ppRenderShape = &m_pDefaultEditorShape;
    m_pEditorPawn->m_ppParticleShape = &m_pDefaultParticleShape;
    m_pEditorPawn->m_ppPrefab = &m_pPrefab;
    m_pEditorPawn->m_pObject = this;
    m_pEditorPawn->m_pObjectType = GetReflectedDataType();
    m_pEditorPawn->m_pCallback = this;
}

void KvProjectData_Core_Raw_ActorEntry::DestroyEditorPawn()
{
    if (!m_pEditorPawn)
        return;
    // The transform is the actor's; the pawn only draws at it.
    m_pEditorPawn->m_pTransform = nullptr;
    delete m_pEditorPawn;
    m_pEditorPawn = nullptr;
}

void KvProjectData_Core_Raw_ActorEntry::PostDeserialize()
{
    // The constructor's transform was replaced by the loaded one; the pawn still links it.
    if (m_pEditorPawn && m_pEditorPawn->m_pTransform && m_pEditorPawn->m_pTransform != m_pTransform)
        KvReflectionInterface::GetInstance()->DestroyObject(TransformType(), m_pEditorPawn->m_pTransform);
    if (m_pEditorPawn)
        m_pEditorPawn->m_pTransform = nullptr;
    if (!m_pTransform)
        m_pTransform = static_cast<KvProjectData_Core_Raw_KvObjectTransform*>(
            TransformType()->GetObjectConstructor()->Create());
    CreateEditorPawn();
    m_pEditorPawn->m_pTransform = m_pTransform;
    m_pTransform->m_pParentTransform = m_pParentActor ? m_pParentActor->m_pTransform : nullptr;
}

void KvProjectData_Core_Raw_ActorEntry::OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const
{
    if (m_pPrefab)
        m_pPrefab->OnDrawDebug(pPawn, flags);
    for (const KvProjectData_Core_Raw_ActorEntryCode* pCode : m_apActorCode)
        if (pCode)
            pCode->DrawDebug(pPawn, flags);
    for (const KvProjectData_Core_Raw_ActorComponent* pComponent : m_apComponents)
        if (pComponent)
            pComponent->DrawDebug(pPawn, flags);
}

void KvProjectData_Core_Raw_ActorEntry::OnParentChanged(const KvReflectedDataType* pParentType, void* pParent,
                                                        const KvReflectedPrimitive*, void* pObject)
{
    auto* pActor = static_cast<KvProjectData_Core_Raw_ActorEntry*>(pObject);
    if (pParent)
    {
        pActor->CreateEditorPawn();
        if (pParentType == GetReflectedDataType())
        {
            auto* pParentActor = static_cast<KvProjectData_Core_Raw_ActorEntry*>(pParent);
            pActor->m_pParentActor = pParentActor;
            if (pActor->m_pTransform)
                pActor->m_pTransform->m_pParentTransform = pParentActor->m_pTransform;
        }
        return;
    }
    pActor->m_pParentActor = nullptr;
    pActor->DestroyEditorPawn();
    if (pActor->m_pTransform)
        pActor->m_pTransform->m_pParentTransform = nullptr;
}

void KvProjectData_Core_Raw_ActorEntry::GetDisplayName(std::string& outName, const KvReflectedDataType* pType,
                                                       const void* pObject)
{
    if (pType != GetReflectedDataType() || !pObject)
        return;
    const auto* pActor = static_cast<const KvProjectData_Core_Raw_ActorEntry*>(pObject);
    outName = pActor->m_strName;
    if (outName.size() >= 8 && outName.find("[PREFAB]") != std::string::npos)
        outName = pActor->m_pPrefab ? "[PREFAB]" + pActor->m_pPrefab->m_strName
                                    : "[PREFAB] - Please manually rename";
}

void KvProjectData_Core_Raw_ActorEntry::GetConstructContexts(
    std::vector<KvReflectedObjCtorContext*>& outContexts, const KvReflectedDataType* pTargetType,
    void* pParentObject, const KvReflectedPrimitive* pParentMember)
{
    KvAppendLiveObjectContexts(outContexts, "KvProjectData_Core_Raw_ActorPrefab", pTargetType, pParentObject,
                               pParentMember);
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_ActorEntry, ObjectConstructorWithPost)
using T = KvProjectData_Core_Raw_ActorEntry;
const KvReflectedDataType* pRenderShape = KvDeclareForward("KvProjectData_Core_Raw_RenderShapeMesh");
const KvReflectedDataType* pParticleSystem = KvDeclareForward("KvProjectData_Core_Raw_ParticleSystem");
const KvReflectedDataType* pPrefab = KvDeclareForward("KvProjectData_Core_Raw_ActorPrefab");
schema.TypeAttribute(new KvAttribute_DisplayNameFromDelegate(&T::GetDisplayName))
    .TypeAttribute(new KvAttribute_CtorByContext("By Prefab", &T::GetConstructContexts, new ObjectCtor<T>()))
    .TypeAttribute(new KvAttribute_NoSorting())
    .TypeAttribute(new KvAttribute_NativeAction("Prefab Extract", &GetPrefabExtractActions))
    .TypeAttribute(new KvAttribute_NativeAction("Prefab Update", &GetPrefabUpdateActions))
    .TypeAttribute(new KvAttribute_Event_ParentChanged(&T::OnParentChanged))
    .TypeAttribute(new KvAttribute_Event_AfterDragDrop(&T::OnAfterDragDrop));
schema.Pointer("m_pTransform", &T::m_pTransform, TransformType()).With(new KvAttribute_HideVirtualNode());
schema.Member("m_strName", &T::m_strName);
schema.PointerArray("m_apActorCode", &T::m_apActorCode,
                    KvProjectData_Core_Raw_ActorEntryCode::GetReflectedDataType());
schema.Pointer("m_pParentActor", &T::m_pParentActor, s_pType)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_MemberDataNotOwned());
schema.Pointer("m_pDefaultEditorShape", &T::m_pDefaultEditorShape, pRenderShape)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(true);
schema.Member("m_bExcludeFromShadowPass", &T::m_bExcludeFromShadowPass);
schema.Member("m_bRequiresNetworkReplication", &T::m_bRequiresNetworkReplication);
schema.Member("m_bPartialReplication", &T::m_bPartialReplication);
schema.Pointer("m_pDefaultParticleShape", &T::m_pDefaultParticleShape, pParticleSystem)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(true);
schema.Pointer("m_pPrefab", &T::m_pPrefab, pPrefab)
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true);
schema.PointerArray("m_apChildren", &T::m_apChildren, s_pType);
schema.PointerArray("m_apComponents", &T::m_apComponents,
                    KvProjectData_Core_Raw_ActorComponent::GetReflectedDataType());
KV_END_SCHEMA()

void KvProjectData_Core_Raw_ActorPrefab::OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const
{
    for (const KvProjectData_Core_Raw_ActorEntryCode* pCode : m_apActorCode)
        if (pCode)
            pCode->DrawDebug(pPawn, flags);
    for (const KvProjectData_Core_Raw_ActorComponent* pComponent : m_apComponents)
        if (pComponent)
            pComponent->DrawDebug(pPawn, flags);
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_ActorPrefab, ObjectConstructor)
using T = KvProjectData_Core_Raw_ActorPrefab;
const KvReflectedDataType* pRenderShape = KvDeclareForward("KvProjectData_Core_Raw_RenderShapeMesh");
const KvReflectedDataType* pParticleSystem = KvDeclareForward("KvProjectData_Core_Raw_ParticleSystem");
schema.TypeAttribute(new KvAttribute_Network())
    .TypeAttribute(new KvAttribute_NativeAction("Export Prefab", &GetExportPrefabActions))
    .TypeAttribute(new KvAttribute_NativeAction("Actor 'mob' as prefab instance",
                                                &GetMobAsPrefabInstanceActions))
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"));
schema.IdentityName(&T::m_strName)
    .With(new KvAttribute_SetFromResourceName())
    .With(new KvAttribute_DisplayNameFromMember("%s"));
schema.IdentityGuid().With(new KvAttribute_SetFromResourceName());
schema.IdentityLocalIndex();
schema.Member("m_strDescription", &T::m_strDescription);
schema.Member("m_bPartialReplication", &T::m_bPartialReplication);
schema.Member("m_bRequiresNetworkReplication", &T::m_bRequiresNetworkReplication);
schema.PointerArray("m_apActorCode", &T::m_apActorCode,
                    KvProjectData_Core_Raw_ActorEntryCode::GetReflectedDataType());
schema.PointerArray("m_apActors", &T::m_apActors, KvProjectData_Core_Raw_ActorEntry::GetReflectedDataType());
schema.PointerArray("m_apComponents", &T::m_apComponents,
                    KvProjectData_Core_Raw_ActorComponent::GetReflectedDataType());
schema.Pointer("m_pDefaultEditorShape", &T::m_pDefaultEditorShape, pRenderShape)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(true);
schema.Pointer("m_pDefaultParticleShape", &T::m_pDefaultParticleShape, pParticleSystem)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(true);
schema.Member("m_pRunResource", &T::m_pRunResource).With(new KvAttribute_SetResourceHandle());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_ActorLayer, ObjectConstructor)
using T = KvProjectData_Core_Raw_ActorLayer;
schema.TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"));
schema.IdentityName(&T::m_strName).With(new KvAttribute_SetFromResourceName());
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.PointerArray("m_apActors", &T::m_apActors, KvProjectData_Core_Raw_ActorEntry::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_ActorLayerRef, ObjectConstructor)
using T = KvProjectData_Core_Raw_ActorLayerRef;
schema.Pointer("m_pLayerRef", &T::m_pLayerRef, KvProjectData_Core_Raw_ActorLayer::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .PickedByName(false)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_DisplayNameFromMember("Layer: %s"));
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_ActorWorldRef, ObjectConstructor)
using T = KvProjectData_Core_Raw_ActorWorldRef;
schema.Pointer("m_pWorld", &T::m_pWorld, KvDeclareForward("KvProjectData_Core_Raw_ActorWorld"))
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(false);
KV_END_SCHEMA()

KvProjectData_Core_Raw_ActorWorld::KvProjectData_Core_Raw_ActorWorld()
    : m_pTransform(static_cast<KvProjectData_Core_Raw_KvObjectTransform*>(
          TransformType()->GetObjectConstructor()->Create())),
      m_pDefaultLayer(static_cast<KvProjectData_Core_Raw_ActorLayer*>(
          KvProjectData_Core_Raw_ActorLayer::GetReflectedDataType()->GetObjectConstructor()->Create())),
      m_pEditorPawn(new KvProjectData_Core_Raw_EditorPawn())
{
    m_pEditorPawn->m_pTransform = m_pTransform;
    m_pEditorPawn->m_pObject = this;
    m_pEditorPawn->m_pObjectType = GetReflectedDataType();
}

KvProjectData_Core_Raw_ActorWorld::~KvProjectData_Core_Raw_ActorWorld()
{
    m_pEditorPawn->m_pTransform = nullptr;
    delete m_pEditorPawn;
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_ActorWorld, ObjectConstructor)
using T = KvProjectData_Core_Raw_ActorWorld;
schema.TypeAttribute(new KvAttribute_Network())
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"));
schema.PointerArray("m_apSubWorlds", &T::m_apSubWorlds,
                    KvProjectData_Core_Raw_ActorWorldRef::GetReflectedDataType());
schema.PointerArray("m_apLayers", &T::m_apLayers,
                    KvProjectData_Core_Raw_ActorLayerRef::GetReflectedDataType());
schema.PointerArray("m_apWorldCode", &T::m_apWorldCode,
                    KvProjectData_Core_Raw_ActorWorldCode::GetReflectedDataType());
schema.IdentityName(&T::m_strName)
    .With(new KvAttribute_SetFromResourceName())
    .With(new KvAttribute_DisplayNameFromMember("%s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Pointer("m_pTransform", &T::m_pTransform, TransformType()).With(new KvAttribute_HideVirtualNode());
schema.Pointer("m_pDefaultLayer", &T::m_pDefaultLayer,
               KvProjectData_Core_Raw_ActorLayer::GetReflectedDataType());
KV_END_SCHEMA()
