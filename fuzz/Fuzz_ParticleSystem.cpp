#include "KvFuzzImport.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

// The binder's parse of the text the importer keeps; the effect must save and reload unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KvFuzzRaiseFatalErrors();
    const std::unique_ptr<uint8_t[]> bytes = KvFuzzExactCopy(data, size);
    KvIOStream_Memory stream(bytes.get(), static_cast<uint32_t>(size));
    KvResource resource;
    KvResourceImporter_ParticleSystem importer;
    void* pPayload = nullptr;
    auto* pParticles = static_cast<KvProjectData_Core_Raw_ParticleSystem*>(
        importer.ConvertToRaw(pPayload, &resource, &stream, nullptr));
    pParticles->m_strName = "particles\\fuzz";
    try
    {
        KvResourceBinder_ParticleSystem().Bind(nullptr, nullptr, pParticles);
    }
    catch (const KvStructuredException&)
    {
    }
    if (pParticles->m_pEffect)
        KvFuzzSaveAndReload(KvParticleEffectFile::GetReflectedDataType(), pParticles->m_pEffect);
    KvReflectionInterface::GetInstance()->DestroyObject(
        KvProjectData_Core_Raw_ParticleSystem::GetReflectedDataType(), pParticles);
    return 0;
}
