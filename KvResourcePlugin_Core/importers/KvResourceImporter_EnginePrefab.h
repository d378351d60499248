#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResourceImporter.h"

#include <vector>

class KvImportBudget;
class KvProjectData_Core_Raw_ActorPrefab;

namespace rapidxml
{
template <class Ch>
class xml_node;
}

// Prefab files of the run-time engine ("prefab", XML) into an actor prefab: one actor per shape
// the editor knows, with its transform, components and actor code. Meshes, particle systems,
// other prefabs, textures and tags are only named: the import makes a placeholder for each,
// which AppendTempXRef hands to the host in the order they were made.
class KV_PLUGIN_CORE_API KvResourceImporter_EnginePrefab : public KvResourceImporter
{
public:
    KvResourceImporter_EnginePrefab() = default;
    // Releases the placeholders the host never took.
    ~KvResourceImporter_EnginePrefab() override;
    KvResourceImporter_EnginePrefab(const KvResourceImporter_EnginePrefab&) = delete;
    KvResourceImporter_EnginePrefab& operator=(const KvResourceImporter_EnginePrefab&) = delete;

    const KvResourceDescriptor* GetResourceType() const override;
    const char* GetExtension() const override { return "prefab"; }
    // A new prefab (its name is the host's to set); `existing` unchanged for a file without
    // elements; null, with the reason logged, for a source that is too large or would take more
    // memory than its size allows. A failed import leaves no placeholders.
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void* existing) override;
    // Appends the placeholders of the last import, in the order they were made, and forgets them.
    void AppendTempXRef(std::vector<KvTempXRef>& outReferences) override;

private:
    // One shape and, recursively, the shapes under it; false once the budget is spent.
    bool ProcessShapeNode(const rapidxml::xml_node<char>& shape, KvProjectData_Core_Raw_ActorPrefab& prefab,
                          KvImportBudget& budget);

    // Placeholders made and not yet handed over; the prefab refers to them without owning them.
    std::vector<KvTempXRef> m_aPendingXRefs;
};
