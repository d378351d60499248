#include "Host/KvProjectStore.h"

#include "Foundation/KvReport.h"
#include "Resources/KvResource.h"
#include "Resources/KvResourceDescriptor.h"
#include "Store/KvJsonStore.h"

#include <algorithm>
#include <filesystem>

std::string KvProjectStore::GetBasePath(const KvResource& resource) const
{
    std::string name = resource.GetName();
    std::replace(name.begin(), name.end(), '\\', '/');
    return (std::filesystem::path(m_strFolder) / name).string() + "." +
           resource.GetDescriptor()->GetShortName();
}

std::string KvProjectStore::GetRawDataPath(const KvResource& resource) const
{
    return GetBasePath(resource) + ".json";
}

std::string KvProjectStore::GetPayloadPath(const KvResource& resource) const
{
    return GetBasePath(resource) + ".payload.json";
}

bool KvProjectStore::Save(const KvResource& resource, const std::set<const void*>& nameOnlyTargets,
                          std::vector<std::string>& outWritten) const
{
    const KvResourceDescriptor* pDescriptor = resource.GetDescriptor();
    const std::string rawPath = GetRawDataPath(resource);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(rawPath).parent_path(), error);
    if (error)
    {
        KvLogReport(kKvLogLevelWarning, "Host\\KvProjectStore", "KvProjectStore::Save", 38,
                    "%s: cannot create the folder: %s", rawPath.c_str(), error.message().c_str());
        return false;
    }
    if (!KvJsonStore::SaveFile(rawPath, pDescriptor->GetRootDataType(), resource.GetRawData(),
                               nameOnlyTargets))
        return false;
    outWritten.push_back(rawPath);
    if (resource.GetPayload() && pDescriptor->GetPayloadDataType())
    {
        const std::string payloadPath = GetPayloadPath(resource);
        if (!KvJsonStore::SaveFile(payloadPath, pDescriptor->GetPayloadDataType(), resource.GetPayload()))
            return false;
        outWritten.push_back(payloadPath);
    }
    return true;
}
