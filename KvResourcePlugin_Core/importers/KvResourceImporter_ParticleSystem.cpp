#include "importers/KvResourceImporter_ParticleSystem.h"

#include "KvResourcePlugin_Core_Resources.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "resources/KvSourceProbe.h"

#include <string_view>

const KvResourceDescriptor* KvResourceImporter_ParticleSystem::GetResourceType() const
{
    return KvResourcePlugin_Core_ParticleSystem::GetStaticDescriptor();
}

eSourceRecognition KvResourceImporter_ParticleSystem::RecognizeSource(const KvSourceProbe& source) const
{
    const rapidxml::xml_node<>* pRoot = source.GetXmlRoot();
    return pRoot && std::string_view(pRoot->name(), pRoot->name_size()) == "particlelayer" ? SOURCE_RECOGNISED
                                                                                           : SOURCE_NOT_TAKEN;
}

void* KvResourceImporter_ParticleSystem::ConvertToRaw(void*&, KvResource*, KvIOStream* pSource, void*)
{
    auto* pParticles = KvCreateData<KvProjectData_Core_Raw_ParticleSystem>();
    const uint64_t size = KvRemainingBytes(*pSource);
    // One byte more, which stays zero: the stored text ends like a C string.
    pParticles->m_acParticleBin.resize(size + 1);
    pSource->Read(pParticles->m_acParticleBin.data(), size);
    return pParticles;
}
