#include "host/KvSavedProject.h"

#include "Foundation/KvReport.h"
#include "host/KvBlobStore.h"
#include "host/KvDescriptorRegistry.h"
#include "host/KvProjectStore.h"
#include "host/KvResourceCreation.h"
#include "host/KvSourceFolderWalk.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonLoadSession.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

KvSavedProject::KvSavedProject(std::string folder, const KvDescriptorRegistry& types)
    : m_strFolder(std::move(folder)), m_Types(types)
{
}

KvSavedProject::~KvSavedProject() = default;

const std::vector<KvSmartPtr<KvResource>>& KvSavedProject::GetResources()
{
    if (!m_bLoaded)
        Load();
    return m_apResources;
}

KvResource* KvSavedProject::Find(const std::string& name, const KvResourceDescriptor* pType)
{
    for (const KvSmartPtr<KvResource>& pResource : GetResources())
        if (pResource->GetDescriptor() == pType && pResource->GetName() == name)
            return pResource.Get();
    return nullptr;
}

void* KvSavedProject::FindSavedRawData(const std::string& name, const KvResourceDescriptor* pType)
{
    KvResource* pResource = Find(name, pType);
    return pResource ? pResource->GetRawData() : nullptr;
}

void KvSavedProject::Load()
{
    m_bLoaded = true;
    struct tSavedFile
    {
        std::string m_strPath;
        std::string m_strName;
        const KvResourceDescriptor* m_pType;
    };
    std::vector<tSavedFile> files;
    std::error_code error;
    if (fs::is_directory(m_strFolder, error))
    {
        const KvSourceFolderWalk walk(m_strFolder);
        for (const std::string& warning : walk.GetWarnings())
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Skipped %s", warning.c_str());
        const fs::path root = fs::path(m_strFolder).lexically_normal();
        for (const std::string& path : walk.GetFiles())
        {
            tSavedFile file{path, "", nullptr};
            const std::string relative =
                fs::path(path).lexically_normal().lexically_relative(root).generic_string();
            if (KvProjectStore::ParseRawDataPath(relative, m_Types, file.m_strName, file.m_pType))
                files.push_back(file);
        }
    }
    std::stable_sort(files.begin(), files.end(),
                     [](const tSavedFile& first, const tSavedFile& second)
                     { return first.m_pType->GetLoadOrder() < second.m_pType->GetLoadOrder(); });
    const KvBlobStore blobs(m_strFolder);
    KvJsonLoadSession session(&m_Placeholders, &blobs);
    for (const tSavedFile& file : files)
    {
        void* pRaw = session.LoadFile(file.m_strPath, file.m_pType->GetRootDataType());
        if (!pRaw)
            continue;
        KvSmartPtr<KvResource> pResource(KvCreateResource(file.m_pType));
        pResource->SetName(file.m_strName);
        pResource->SetDescriptor(file.m_pType);
        pResource->BindRawData(pRaw, 0, false);
        m_apResources.push_back(pResource);
    }
    session.Finish();
}
