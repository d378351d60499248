#include "importers/KvResourceImporter_Interface.h"

#include "KvResourcePlugin_Core_Resources.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"

const KvResourceDescriptor* KvResourceImporter_Interface::GetResourceType() const
{
    return KvResourcePlugin_Core_Interface::GetStaticDescriptor();
}

void* KvResourceImporter_Interface::ConvertToRaw(void*&, KvResource*, KvIOStream* pSource, void*)
{
    auto* pInterface = KvCreateData<KvProjectData_Core_Raw_Interface>();
    pInterface->m_acBin = KvReadRemainingBytes(*pSource);
    return pInterface;
}
