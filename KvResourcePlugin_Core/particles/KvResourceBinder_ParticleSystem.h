#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceBinder.h"

// Binds a particle system: parses its stored effect text into the run-time effect it keeps.
class KV_PLUGIN_CORE_API KvResourceBinder_ParticleSystem : public KvResourceBinder
{
public:
    // The host's state codes of a bound resource and of a binder with nothing more to do.
    static constexpr uint32_t kBound = 4;
    static constexpr uint32_t kIdle = 3;

    // Declares the effect's reflected types, so that tools describe what the binder makes
    // before anything is bound.
    KvResourceBinder_ParticleSystem();

    // Replaces the effect of a KvProjectData_Core_Raw_ParticleSystem with one parsed from its bytes.
    uint32_t Bind(void* pContext, void* pTarget, void* pRawData) override;
    uint32_t GetIdleState() const override { return kIdle; }
    // The particle system's effect, a KvParticleEffectFile.
    KvBoundObject GetBoundObject(const void* pRawData) const override;
};
