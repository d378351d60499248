#pragma once

#include "Foundation/KvSmartPtr.h"
#include "KvResourceCommonExport.h"
#include "host/KvResult.h"
#include "resources/KvResource.h"
#include "resources/KvResourceImporter.h"

#include <set>
#include <string>
#include <vector>

class KvResourceDescriptor;
class KvResourceHost;
class KvSavedResources;

struct KvImportRequest
{
    std::string m_strSourcePath;
    // The folder resource names are relative to; the source's own folder when empty.
    std::string m_strSourceRoot;
    // A resource type name or short name that picks the importer among those of the
    // extension; empty to let the host choose.
    std::string m_strResourceType;
};

// Where an import of a source saves its resource, known before importing it.
struct KvImportTarget
{
    const KvResourceDescriptor* m_pType = nullptr;
    std::string m_strName;
    // Whether the import makes a resource of its own, rather than updating a saved one.
    bool m_bCreatesResource = true;
    // A file every output must be newer than (the importer's minimum time stamp), or empty.
    std::string m_strMinimumTimeStampFile;
};

// What one import produced. The placeholders (objects the raw data refers to by name only)
// belong to the result and outlive its resource.
class KV_RESOURCECOMMON_API KvImportResult
{
public:
    KvImportResult() = default;
    ~KvImportResult();
    KvImportResult(KvImportResult&& other) noexcept;
    KvImportResult& operator=(KvImportResult&&) = delete;
    KvImportResult(const KvImportResult&) = delete;
    KvImportResult& operator=(const KvImportResult&) = delete;

    bool Succeeded() const { return m_Result.IsOk(); }
    // Addresses of the placeholders, for saving references to them by name only.
    std::set<const void*> GetPlaceholderAddresses() const;

    std::vector<KvTempXRef> m_aPlaceholders;
    KvSmartPtr<KvResource> m_pResource;
    // Whether the resource is a saved one the source changed, rather than a new one.
    bool m_bUpdatedSaved = false;
    // On failure, every report logged during the import in order, then the host's own reason
    // (an exception's, a file that cannot be opened) unless the last report already gives it.
    KvResult m_Result;
};

// Runs one import: resource name from the source path, importer by extension (compared without
// case; where importers share one, the first in registration order that recognises the source,
// or the one of the requested resource type), ConvertToRaw, payload, placeholders, binder.
// An importer that makes no resource of its own updates the saved resource of the name, which
// must be found among the saved resources given. Whatever an importer throws fails that import
// with its reason.
class KV_RESOURCECOMMON_API KvImportDriver
{
public:
    explicit KvImportDriver(KvResourceHost& host) : m_Host(host) {}

    KvImportResult Import(const KvImportRequest& request, KvSavedResources* pSaved = nullptr);
    // The importer's choice and the resource name, without importing: a failure when no importer
    // takes the source (which the import then reports).
    KvResult FindTarget(const KvImportRequest& request, KvImportTarget& outTarget) const;
    // Whether any importer is registered for the extension of the source path.
    bool HandlesExtensionOf(const std::string& sourcePath) const;

    // The resource name of a source path: relative to the root, "\\" separated, before the
    // importer's ConvertResourceName.
    static std::string GetResourceName(const std::string& sourcePath, const std::string& sourceRoot);

private:
    // The registered importers of the extension, then the unregistered ones.
    std::vector<KvResourceImporter*> CandidatesFor(const std::string& extension) const;
    KvResult ChooseImporter(const KvImportRequest& request, KvResourceImporter*& outImporter) const;
    // The importer and the resource name it gives the source.
    KvResult ChooseTarget(const KvImportRequest& request, KvResourceImporter*& outImporter,
                          std::string& outName) const;
    // The import itself; Import collects its reports and stops what it throws.
    KvResult Convert(const KvImportRequest& request, KvSavedResources* pSaved, KvImportResult& result) const;
    static void ResolvePlaceholders(KvImportResult& result);

    KvResourceHost& m_Host;
};
