#include "projectdata/KvProjectData_Core_Effect.h"

#include "projectdata/KvProjectData_Core_Attachment.h"
#include "projectdata/KvSchema.h"

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EffectPhase, ObjectConstructor)
using T = KvProjectData_Core_Raw_EffectPhase;
schema.TypeAttribute(new KvAttribute_SkipVirtualNode());
schema
    .Pointer("m_pParticleShape", &T::m_pParticleShape,
             KvDeclareForward("KvProjectData_Core_Raw_ParticleSystem"))
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(true);
schema
    .Pointer("m_pSoundSample", &T::m_pSoundSample, KvDeclareForward("KvProjectData_Core_Raw_AudioSoundEntry"))
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(true);
schema.Member("m_fTimeout", &T::m_fTimeout);
schema.Pointer("m_pPrefab", &T::m_pPrefab, KvDeclareForward("KvProjectData_Core_Raw_ActorPrefab"))
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Effect, ObjectConstructor)
using T = KvProjectData_Core_Raw_Effect;
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("%s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EffectInstance, ObjectConstructor)
using T = KvProjectData_Core_Raw_EffectInstance;
schema.Record("m_pEffectPhase[ EFFECTPHASE_SUSTAIN ]", &T::m_pEffectPhase,
              KvProjectData_Core_Raw_EffectPhase::GetReflectedDataType());
schema.Pointer("m_pEffect", &T::m_pEffect, KvProjectData_Core_Raw_Effect::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true)
    .With(new KvAttribute_DisplayNameFromMember("Effect Instance: %s"));
schema.Pointer("m_pAttachment", &T::m_pAttachment, KvAttachmentSlotTemplate::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EffectBank, ObjectConstructor)
using T = KvProjectData_Core_Raw_EffectBank;
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("Effect Bank: %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.PointerArray("m_apEffects", &T::m_apEffects,
                    KvProjectData_Core_Raw_EffectInstance::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EffectBank_Ref, ObjectConstructor)
using T = KvProjectData_Core_Raw_EffectBank_Ref;
schema.Pointer("m_pBank", &T::m_pBank, KvProjectData_Core_Raw_EffectBank::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(false)
    .With(new KvAttribute_DisplayNameFromMember("Effect Bank Ref: %s"));
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Effect_Ref, ObjectConstructor)
using T = KvProjectData_Core_Raw_Effect_Ref;
schema.Pointer("m_pEffect", &T::m_pEffect, KvProjectData_Core_Raw_Effect::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(false)
    .With(new KvAttribute_DisplayNameFromMember("Effect Ref: %s"));
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EffectTopLevel, ObjectConstructor)
using T = KvProjectData_Core_Raw_EffectTopLevel;
schema.PointerArray("m_apEffectTemplates", &T::m_apEffectTemplates,
                    KvProjectData_Core_Raw_Effect::GetReflectedDataType());
schema.PointerArray("m_apEffectBanks", &T::m_apEffectBanks,
                    KvProjectData_Core_Raw_EffectBank::GetReflectedDataType());
KV_END_SCHEMA()
