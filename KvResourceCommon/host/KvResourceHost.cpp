#include "host/KvResourceHost.h"

#include "resources/KvResource.h"

KvResourceHost::KvResourceHost()
{
    KvResource::BindDataTypes();
}

KvResourcePlugin::tInitContext KvResourceHost::GetInitContext()
{
    return {this, &m_Descriptors, &m_Importers, &m_Cookers, &m_Binders};
}

KvResult KvResourceHost::LoadPlugin(const std::string& path)
{
    return m_Modules.LoadPlugin(path, GetInitContext(), m_UnregisteredImporters);
}

KvResult KvResourceHost::LoadGameModule(const std::string& path)
{
    return m_Modules.LoadGameModule(path);
}
