#include "particles/KvResourceBinder_ParticleSystem.h"

#include "IO/KvIOStream_Memory.h"
#include "particles/KvParticleEffectFile.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"

#include <algorithm>
#include <cstdint>

KvResourceBinder_ParticleSystem::KvResourceBinder_ParticleSystem()
{
    KvParticleEffectFile::GetReflectedDataType();
}

uint32_t KvResourceBinder_ParticleSystem::Bind(void*, void*, void* pRawData)
{
    auto& particles = *static_cast<KvProjectData_Core_Raw_ParticleSystem*>(pRawData);
    std::vector<uint8_t>& bytes = particles.m_acParticleBin;
    // A stream needs a buffer even for no bytes; one larger than a stream can hold is cut, and
    // then refused for its size by the parse.
    uint8_t none = 0;
    KvIOStream_Memory stream(bytes.empty() ? &none : bytes.data(),
                             static_cast<uint32_t>(std::min<size_t>(bytes.size(), UINT32_MAX)));
    auto* pEffect = new KvParticleEffectFile(particles.m_strName, stream);
    delete particles.m_pEffect;
    particles.m_pEffect = pEffect;
    return kBound;
}

KvBoundObject KvResourceBinder_ParticleSystem::GetBoundObject(const void* pRawData) const
{
    const auto& particles = *static_cast<const KvProjectData_Core_Raw_ParticleSystem*>(pRawData);
    return {particles.m_pEffect, KvParticleEffectFile::GetReflectedDataType()};
}
