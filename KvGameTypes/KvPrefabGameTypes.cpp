#include "KvPrefabGameTypes.h"

#include "Foundation/KvDebugDrawInterface.h"
#include "KvGameTypeDeclaration.h"
#include "TypeManager/KvObjectFactory.h"
#include "editor/KvEditorPawn.h"

KV_IMPLEMENT_TYPED_CLASS(KvActorComponent_LightShape)
KV_IMPLEMENT_TYPED_CLASS(KvActorComponent_MeshShape)
KV_IMPLEMENT_TYPED_CLASS(KvActorComponent_ParticleShape)
KV_IMPLEMENT_TYPED_CLASS(KvActorComponent_Object3D)
KV_IMPLEMENT_TYPED_CLASS(KvActorCode_LightingPreset)
KV_IMPLEMENT_TYPED_CLASS(MqActorCode_MoodSelector)

namespace
{
constexpr const char* kTagTypeName = "MqProjectData_Tag";

// A cross-reference member to a type named here only.
template <class C, class P>
void AddReference(KvReflectedDataTypeBuilder& builder, const char* name, P* C::*member, const char* typeName)
{
    builder.AddMemberPointer(name, member, KvDeclareForeignType(typeName));
    builder.AddAttributeMember(name, new KvAttribute_XRef());
}
} // namespace

void KvActorComponent_LightShape::OnDrawDebug(KvEditorPawn* pPawn, uint32_t) const
{
    KvDebugDraw::GetInterface()->DrawSphere(pPawn ? pPawn->GetWorldPosition() : KvVector3{}, m_fRadius,
                                            m_colColor);
}

MqProjectData_Tag::MqProjectData_Tag() : m_XRefGUID(KvGuid::GenerateNew())
{
    KvReflectionInterface::GetInstance()->RegisterLiveObject(GetReflectedDataType(), this);
}

MqProjectData_Tag::~MqProjectData_Tag()
{
    KvReflectionInterface::GetInstance()->UnregisterLiveObject(GetReflectedDataType(), this);
}

const KvReflectedDataType* MqProjectData_Tag::GetReflectedDataType()
{
    static const KvReflectedDataType* const s_pType =
        KvReflectionInterface::GetInstance()->FindType(kTagTypeName);
    return s_pType;
}

void KvDeclarePrefabGameTypes()
{
    using Light = KvActorComponent_LightShape;
    using Preset = KvActorCode_LightingPreset;
    using Mood = MqActorCode_MoodSelector;
    using Tag = MqProjectData_Tag;
    KvDeclareGameType<Light>("KvActorComponent_LightShape",
                             [](KvReflectedDataTypeBuilder& builder)
                             {
                                 builder.AddMember("m_slLightType", &Light::m_slLightType);
                                 builder.AddMember("m_fSpotAngle", &Light::m_fSpotAngle);
                                 builder.AddMember("m_colColor", &Light::m_colColor);
                                 builder.AddMember("m_fMultiplier", &Light::m_fMultiplier);
                                 builder.AddMember("m_fRadius", &Light::m_fRadius);
                             });
    KvDeclareGameType<KvActorComponent_MeshShape>("KvActorComponent_MeshShape",
                                                  [](KvReflectedDataTypeBuilder&) {});
    KvDeclareGameType<KvActorComponent_ParticleShape>("KvActorComponent_ParticleShape",
                                                      [](KvReflectedDataTypeBuilder&) {});
    KvDeclareGameType<KvActorComponent_Object3D>("KvActorComponent_Object3D",
                                                 [](KvReflectedDataTypeBuilder&) {});
    KvDeclareGameType<Preset>(
        "KvActorCode_LightingPreset",
        [](KvReflectedDataTypeBuilder& builder)
        {
            builder.AddMember("m_slNotDefault", &Preset::m_slNotDefault);
            builder.AddMember("m_colColor", &Preset::m_colColor);
            builder.AddMember("m_fMultiplier", &Preset::m_fMultiplier);
            builder.AddMember("m_fAmbientGradientStart", &Preset::m_fAmbientGradientStart);
            builder.AddMember("m_fAmbientGradientEnd", &Preset::m_fAmbientGradientEnd);
            builder.AddMember("m_fFogStart", &Preset::m_fFogStart);
            builder.AddMember("m_fFogEnd", &Preset::m_fFogEnd);
            builder.AddMember("m_fSaturation", &Preset::m_fSaturation);
            builder.AddMember("m_fBrightness", &Preset::m_fBrightness);
            builder.AddMember("m_fContrast", &Preset::m_fContrast);
            AddReference(builder, "m_pSkybox", &Preset::m_pSkybox, "KvProjectData_Core_Raw_Texture");
            AddReference(builder, "m_pFogGradient", &Preset::m_pFogGradient,
                         "KvProjectData_Core_Raw_Texture");
            AddReference(builder, "m_pAmbientGradient", &Preset::m_pAmbientGradient,
                         "KvProjectData_Core_Raw_Texture");
        });
    // The tag before the selector, which refers to it.
    KvDeclareGameType<Tag>(kTagTypeName,
                           [](KvReflectedDataTypeBuilder& builder)
                           {
                               builder.AddMember("m_strName", &Tag::m_strName);
                               builder.AddAttributeMember("m_strName", new KvAttribute_XRefKey());
                               builder.AddMember("m_XRefGUID", &Tag::m_XRefGUID);
                               builder.AddAttributeMember("m_XRefGUID", new KvAttribute_XRefKey());
                           });
    KvDeclareGameType<Mood>("MqActorCode_MoodSelector",
                            [](KvReflectedDataTypeBuilder& builder)
                            {
                                AddReference(builder, "m_pTag", &Mood::m_pTag, kTagTypeName);
                                AddReference(builder, "m_pPrefab", &Mood::m_pPrefab,
                                             "KvProjectData_Core_Raw_ActorPrefab");
                            });
}
