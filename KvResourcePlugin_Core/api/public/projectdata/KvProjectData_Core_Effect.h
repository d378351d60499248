#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"

#include <string>
#include <vector>

class KvAttachmentSlotTemplate;
class KvProjectData_Core_Raw_ActorPrefab;
class KvProjectData_Core_Raw_AudioSoundEntry;
class KvProjectData_Core_Raw_ParticleSystem;

// What an effect spawns during one phase.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EffectPhase
{
public:
    KvProjectData_Core_Raw_ParticleSystem* m_pParticleShape = nullptr;
    KvProjectData_Core_Raw_AudioSoundEntry* m_pSoundSample = nullptr;
    float m_fTimeout = -1.0f;
    KvProjectData_Core_Raw_ActorPrefab* m_pPrefab = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Effect : public KvXRefObject<KvProjectData_Core_Raw_Effect>
{
public:
    std::string m_strName;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EffectInstance
{
public:
    enum tPhase
    {
        EFFECTPHASE_SUSTAIN,
        EFFECTPHASE_COUNT
    };

    KvProjectData_Core_Raw_EffectPhase m_pEffectPhase[EFFECTPHASE_COUNT];
    KvProjectData_Core_Raw_Effect* m_pEffect = nullptr;
    KvAttachmentSlotTemplate* m_pAttachment = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EffectBank
    : public KvXRefObject<KvProjectData_Core_Raw_EffectBank>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_EffectInstance*> m_apEffects;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EffectBank_Ref
{
public:
    KvProjectData_Core_Raw_EffectBank* m_pBank = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Effect_Ref
{
public:
    KvProjectData_Core_Raw_Effect* m_pEffect = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The raw data of the effect-bank resource.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EffectTopLevel
{
public:
    std::vector<KvProjectData_Core_Raw_Effect*> m_apEffectTemplates;
    std::vector<KvProjectData_Core_Raw_EffectBank*> m_apEffectBanks;

    static const KvReflectedDataType* GetReflectedDataType();
};
