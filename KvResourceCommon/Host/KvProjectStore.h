#pragma once

#include "KvResourceCommonExport.h"

#include <set>
#include <string>
#include <vector>

class KvResource;

// A project folder: "<resource name>.<short name>.json" for the raw data and
// "<resource name>.<short name>.payload.json" for the payload, name separators as folders.
class KV_RESOURCECOMMON_API KvProjectStore
{
public:
    explicit KvProjectStore(const std::string& folder) : m_strFolder(folder) {}

    // The file of a resource's raw data (or payload) below the folder.
    std::string GetRawDataPath(const KvResource& resource) const;
    std::string GetPayloadPath(const KvResource& resource) const;

    // Writes the raw data and the payload (when there is one), creating folders. Appends the
    // written paths; false (logged) when a file cannot be written.
    bool Save(const KvResource& resource, const std::set<const void*>& nameOnlyTargets,
              std::vector<std::string>& outWritten) const;

private:
    std::string GetBasePath(const KvResource& resource) const;

    std::string m_strFolder;
};
