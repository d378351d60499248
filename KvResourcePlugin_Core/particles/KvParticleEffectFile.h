#pragma once

#include "KvResourcePlugin_CoreExport.h"

#include <string>
#include <vector>

class KvIOStream;
class KvParticleGroupDescriptor;
class KvReflectedDataType;

// The run-time form of a particle effect file: its group descriptors in document order.
class KV_PLUGIN_CORE_API KvParticleEffectFile
{
public:
    KvParticleEffectFile() = default;
    // Parses the effect text from the stream's position to its end. A text that cannot be read
    // (too large, nesting too deep, no "particlelayer", more groups than its size can pay for)
    // is logged and leaves the effect without groups; malformed XML is fatal.
    KvParticleEffectFile(const std::string& name, KvIOStream& source);
    ~KvParticleEffectFile();
    KvParticleEffectFile(const KvParticleEffectFile&) = delete;
    KvParticleEffectFile& operator=(const KvParticleEffectFile&) = delete;

    static const KvReflectedDataType* GetReflectedDataType();

    std::string m_strName;
    std::vector<KvParticleGroupDescriptor*> m_apGroupDescriptors;
};
