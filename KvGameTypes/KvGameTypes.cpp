#include "KvGameTypes.h"

#include "KvGameTypeDeclaration.h"
#include "KvPrefabGameTypes.h"

#include "Foundation/KvDebugDrawInterface.h"
#include "Foundation/KvExport.h"
#include "TypeManager/KvObjectFactory.h"
#include "editor/KvEditorPawn.h"
#include "reflection/KvReflectedDataTypeBuilder.h"
#include "reflection/KvReflectionInterface.h"

KV_IMPLEMENT_TYPED_CLASS(KvActorComponentCode)
KV_IMPLEMENT_TYPED_CLASS(KvActorCode)
KV_IMPLEMENT_TYPED_CLASS(KvActorTrigger)
KV_IMPLEMENT_TYPED_CLASS(KvWorldCode)
KV_IMPLEMENT_TYPED_CLASS(KvRenderNodeHandler)
KV_IMPLEMENT_TYPED_CLASS(KvMeshComponent)
KV_IMPLEMENT_TYPED_CLASS(KvSpawnPointCode)
KV_IMPLEMENT_TYPED_CLASS(KvBoxTrigger)
KV_IMPLEMENT_TYPED_CLASS(KvWeatherCode)
KV_IMPLEMENT_TYPED_CLASS(KvRenderNodeHandler_Bloom)
KV_IMPLEMENT_TYPED_CLASS(KvAnimStateCode)
KV_IMPLEMENT_TYPED_CLASS(KvAnimTask)
KV_IMPLEMENT_TYPED_CLASS(KvGameState)
KV_IMPLEMENT_TYPED_CLASS(KvAnimStateCode_LookAt)
KV_IMPLEMENT_TYPED_CLASS(KvAnimTask_Footsteps)
KV_IMPLEMENT_TYPED_CLASS(KvGameState_MainMenu)
KV_IMPLEMENT_TYPED_CLASS(KvEditorPawnCallbackHandler_SoundEntry)

namespace
{
const KvColor kDebugColor{255, 200, 0, 255};

// Where the pawn stands, or the origin.
KvVector3 PawnPosition(const KvEditorPawn* pPawn)
{
    return pPawn ? pPawn->GetWorldPosition() : KvVector3{};
}
} // namespace

void KvMeshComponent::OnDrawDebug(KvEditorPawn* pPawn, uint32_t) const
{
    const KvVector3 center = PawnPosition(pPawn);
    KvDebugDraw::GetInterface()->DrawBox(center - KvVector3{0.5f, 0.5f, 0.5f},
                                         center + KvVector3{0.5f, 0.5f, 0.5f}, kDebugColor);
}

void KvSpawnPointCode::OnDrawDebug(KvEditorPawn* pPawn, uint32_t) const
{
    KvDebugDraw::GetInterface()->DrawAxes(PawnPosition(pPawn), KvQuaternion(), 1.0f);
}

void KvBoxTrigger::OnDrawDebug(KvEditorPawn* pPawn, uint32_t) const
{
    const KvVector3 center = PawnPosition(pPawn);
    KvDebugDraw::GetInterface()->DrawBox(center - m_vHalfExtents, center + m_vHalfExtents, kDebugColor);
}

void KvWeatherCode::OnDrawDebug(KvEditorPawn* pPawn, uint32_t) const
{
    KvDebugDraw::GetInterface()->DrawText3D(PawnPosition(pPawn), "Weather", kDebugColor);
}

void KvEditorPawnCallbackHandler_SoundEntry::SetPreviewedObject(const KvReflectedDataType* pType,
                                                                void* pObject)
{
    m_pEntryType = pType;
    m_pEntry = pObject;
}

void KvEditorPawnCallbackHandler_SoundEntry::OnDrawDebug(KvEditorPawn* pPawn, uint32_t) const
{
    if (m_pEntry && m_pEntryType && m_pEntryType->GetEditorPreview())
        m_pEntryType->GetEditorPreview()(m_pEntry, PawnPosition(pPawn), false);
}

extern "C" KV_EXPORT void KvRegisterGameTypes()
{
    KvDeclareGameType<KvMeshComponent>("KvMeshComponent",
                                       [](KvReflectedDataTypeBuilder& builder)
                                       {
                                           builder.AddMember("m_strMeshName",
                                                             &KvMeshComponent::m_strMeshName);
                                           builder.AddMember("m_fLodBias", &KvMeshComponent::m_fLodBias);
                                       });
    KvDeclareGameType<KvSpawnPointCode>("KvSpawnPointCode", [](KvReflectedDataTypeBuilder& builder)
                                        { builder.AddMember("m_ulTeam", &KvSpawnPointCode::m_ulTeam); });
    KvDeclareGameType<KvBoxTrigger>("KvBoxTrigger",
                                    [](KvReflectedDataTypeBuilder& builder)
                                    {
                                        builder.AddMember("m_vHalfExtents", &KvBoxTrigger::m_vHalfExtents);
                                        builder.AddMember("m_bOnce", &KvBoxTrigger::m_bOnce);
                                    });
    KvDeclareGameType<KvWeatherCode>(
        "KvWeatherCode", [](KvReflectedDataTypeBuilder& builder)
        { builder.AddMember("m_fRainIntensity", &KvWeatherCode::m_fRainIntensity); });
    KvDeclareGameType<KvRenderNodeHandler_Bloom>(
        "KvRenderNodeHandler_Bloom", [](KvReflectedDataTypeBuilder& builder)
        { builder.AddMember("m_fThreshold", &KvRenderNodeHandler_Bloom::m_fThreshold); });
    KvDeclareGameType<KvAnimStateCode_LookAt>(
        "KvAnimStateCode_LookAt", [](KvReflectedDataTypeBuilder& builder)
        { builder.AddMember("m_strTargetBone", &KvAnimStateCode_LookAt::m_strTargetBone); });
    KvDeclareGameType<KvAnimTask_Footsteps>(
        "KvAnimTask_Footsteps", [](KvReflectedDataTypeBuilder& builder)
        { builder.AddMember("m_strSoundEntry", &KvAnimTask_Footsteps::m_strSoundEntry); });
    KvDeclareGameType<KvGameState_MainMenu>(
        "KvGameState_MainMenu", [](KvReflectedDataTypeBuilder& builder)
        { builder.AddMember("m_strMusic", &KvGameState_MainMenu::m_strMusic); });
    KvDeclareGameType<KvRenderNodeHandler_Bloom_Input>(
        "KvRenderNodeHandler_Bloom_Input",
        [](KvReflectedDataTypeBuilder& builder)
        {
            builder.AddMember("m_strSourcePin", &KvRenderNodeHandler_Bloom_Input::m_strSourcePin);
            builder.AddMember("m_fIntensity", &KvRenderNodeHandler_Bloom_Input::m_fIntensity);
        });
    KvDeclareGameType<KvRenderNodeHandler_Bloom_Output>(
        "KvRenderNodeHandler_Bloom_Output", [](KvReflectedDataTypeBuilder& builder)
        { builder.AddMember("m_strTargetPin", &KvRenderNodeHandler_Bloom_Output::m_strTargetPin); });
    KvDeclarePrefabGameTypes();
}
