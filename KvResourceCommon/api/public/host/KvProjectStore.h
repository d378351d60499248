#pragma once

#include "KvResourceCommonExport.h"
#include "host/KvResult.h"

#include <set>
#include <string>
#include <vector>

class KvDescriptorRegistry;
class KvResource;
class KvResourceDescriptor;

// A project folder: "<resource name>.<short name>.json" for the raw data and
// "<resource name>.<short name>.payload.json" for the payload, name separators as folders.
class KV_RESOURCECOMMON_API KvProjectStore
{
public:
    explicit KvProjectStore(const std::string& folder) : m_strFolder(folder) {}

    const std::string& GetFolder() const { return m_strFolder; }

    // The file of a resource's raw data (or payload) below the folder.
    std::string GetRawDataPath(const KvResource& resource) const;
    std::string GetPayloadPath(const KvResource& resource) const;
    // The same for a resource of that name and type that is not made yet.
    std::string GetRawDataPath(const std::string& name, const KvResourceDescriptor& type) const;
    std::string GetPayloadPath(const std::string& name, const KvResourceDescriptor& type) const;

    // Writes the raw data and the payload (when there is one), creating folders. Both files
    // replace the previous ones whole, together, and only once both are written; their large
    // byte arrays go to the project's blob store (KvBlobStore) before them. Appends the
    // written paths; on failure the previous files stay intact.
    KvResult Save(const KvResource& resource, const std::set<const void*>& nameOnlyTargets,
                  std::vector<std::string>& outWritten) const;

    // Whether a resource name stays inside a folder: one or more components separated by "\"
    // or "/", none empty, "." or "..", the first no drive ("C:").
    static KvResult CheckResourceName(const std::string& name);

    // The resource a file below the folder holds the raw data of, from its path relative to the
    // folder ("/" separated): false for anything else (payloads, hidden files and folders,
    // types not registered).
    static bool ParseRawDataPath(const std::string& relativePath, const KvDescriptorRegistry& types,
                                 std::string& outName, const KvResourceDescriptor*& outType);

private:
    std::string GetBasePath(const std::string& name, const KvResourceDescriptor& type) const;
    // Whether the path, its links resolved, lies below the folder.
    KvResult CheckInsideFolder(const std::string& path) const;

    std::string m_strFolder;
};
