#pragma once

#include "KvResourceCommonExport.h"
#include "resources/KvResourceImporter.h"
#include "resources/KvResourcePlugin.h"

#include <memory>
#include <string>
#include <vector>

// The registered importers, owned, in registration order.
class KV_RESOURCECOMMON_API KvImporterRegistry : public KvResourceImporterRegistry
{
public:
    void Register(KvResourceImporter* pImporter) override;

    std::vector<KvResourceImporter*> GetImporters() const;
    // Every importer of an extension (compared without case), in registration order.
    std::vector<KvResourceImporter*> FindByExtension(const std::string& extension) const;
    std::vector<KvResourceImporter*> FindByResourceType(const KvResourceDescriptor* pDescriptor) const;

private:
    std::vector<std::unique_ptr<KvResourceImporter>> m_apImporters;
};
