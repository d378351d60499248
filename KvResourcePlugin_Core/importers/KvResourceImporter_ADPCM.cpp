#include "importers/KvResourceImporter_ADPCM.h"

#include "KvResourcePlugin_Core_Resources.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_Audio.h"

const KvResourceDescriptor* KvResourceImporter_ADPCM::GetResourceType() const
{
    return KvResourcePlugin_Core_AudioSample::GetStaticDescriptor();
}

void* KvResourceImporter_ADPCM::ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource,
                                             void*)
{
    auto* pSample = KvCreateData<KvProjectData_Core_Raw_AudioSample>();
    pSample->m_strName = pResource ? pResource->GetName() : "";
    auto* pPayload = KvCreateData<KvProjectData_Core_Raw_AudioSample_Payload>();
    pPayload->m_aData = KvReadRemainingBytes(*pSource);
    payload = pPayload;
    return pSample;
}
