#pragma once

#include "Foundation/KvSmartPtr.h"
#include "KvResourceCommonExport.h"
#include "host/KvSavedResources.h"
#include "resources/KvResource.h"
#include "store/KvPlaceholderSet.h"

#include <string>
#include <vector>

class KvDescriptorRegistry;

// The resources saved in a project folder, loaded on first use: the raw data file of every
// resource of a registered type, in the types' load order (then by path), with the
// cross-references between files resolved once all are loaded; a reference to a resource the
// project does not hold gets a placeholder carrying its name, as the import made it; blob
// references are read from the project's blob store. Payloads stay on disk. A file
// that cannot be loaded is logged and left out; a missing folder holds nothing.
class KV_RESOURCECOMMON_API KvSavedProject : public KvSavedResources
{
public:
    KvSavedProject(std::string folder, const KvDescriptorRegistry& types);
    ~KvSavedProject() override;
    KvSavedProject(const KvSavedProject&) = delete;
    KvSavedProject& operator=(const KvSavedProject&) = delete;

    const std::vector<KvSmartPtr<KvResource>>& GetResources();
    // The resource of the name and type, or null.
    KvResource* Find(const std::string& name, const KvResourceDescriptor* pType);
    void* FindSavedRawData(const std::string& name, const KvResourceDescriptor* pType) override;
    // The placeholders of references to resources the project does not hold: saving a resource
    // again writes those references by name, as they were.
    const KvPlaceholderSet& GetPlaceholders() const { return m_Placeholders; }

private:
    void Load();

    std::string m_strFolder;
    const KvDescriptorRegistry& m_Types;
    bool m_bLoaded = false;
    // Declared before the resources, which refer to them, so that they outlive them.
    KvPlaceholderSet m_Placeholders;
    std::vector<KvSmartPtr<KvResource>> m_apResources;
};
