#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

// Particle effect XML of the run-time engine (root "particlelayer"), kept as its text; the
// binder parses it into the run-time effect.
class KV_PLUGIN_CORE_API KvResourceImporter_ParticleSystem : public KvResourceImporter
{
public:
    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "xml"; }
    // The file's bytes followed by one zero byte; the name is left to the host.
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
    eSourceRecognition RecognizeSource(const KvSourceProbe& source) const override;
};
