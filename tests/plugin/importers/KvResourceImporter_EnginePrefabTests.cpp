#include "host/KvImportDriver.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "store/KvJsonStore.h"
#include "store/KvPlaceholderSet.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvPluginHost.h"
#include "support/KvReflectedData.h"
#include "support/KvTestFolder.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

namespace
{
using Json = KvJsonStore::Json;
using Prefab = KvProjectData_Core_Raw_ActorPrefab;

std::string Property(const std::string& name, const std::string& value)
{
    return "<property name=\"" + name + "\" value=\"" + value + "\"/>";
}

std::string Shape(const std::string& shapeClass, const std::string& body)
{
    return "<shape class=\"" + shapeClass + "\">" + body + "</shape>";
}

// A mesh shape, which the prefab always keeps.
std::string MeshShape(const std::string& body)
{
    return Shape("StaticMeshShape", Property("MeshFileName", "rock") + body);
}

// One import of a prefab of the shapes given, and the placeholders it handed over; all released
// at the end.
class PrefabImport
{
public:
    explicit PrefabImport(const std::string& shapes)
        : m_Run(m_Importer, BytesOf("<prefab>" + shapes + "</prefab>"))
    {
        m_Importer.AppendTempXRef(m_aPlaceholders);
    }
    ~PrefabImport()
    {
        for (const auto& [pObject, pType] : m_aPlaceholders)
            KvReflectionInterface::GetInstance()->DestroyObject(pType, pObject);
    }

    Prefab* Get() const { return m_Run.Raw<Prefab>(); }

    KvResourceImporter_EnginePrefab m_Importer;
    ImportRun m_Run;
    std::vector<KvTempXRef> m_aPlaceholders;
};

// The game types loaded, as in the tool.
class EnginePrefabImport : public TestFolder
{
protected:
    static void SetUpTestSuite() { LoadGameModule(); }
};
} // namespace

// The placeholders belong to the import they are handed over by: handed over once.
TEST_F(EnginePrefabImport, PlaceholdersHandedOverOnce)
{
    PrefabImport run(MeshShape(""));
    ASSERT_EQ(run.m_aPlaceholders.size(), 1u);
    std::vector<KvTempXRef> again;
    run.m_Importer.AppendTempXRef(again);
    EXPECT_TRUE(again.empty());
}

// Imported by the host, saved with its unresolved references by name and loaded where none of
// them exists, the prefab gets a placeholder for each, as the import made them: every shape
// keeps its mesh.
TEST_F(EnginePrefabImport, SavedAndLoaded_UnresolvedReferencesGetPlaceholders)
{
    const std::string source =
        Write("camp.prefab", "<prefab>" + MeshShape("") + MeshShape("") +
                                 Shape("ParticleGroupShape", Property("EffectFile", "fire")) +
                                 Shape("KvSceneLighting", Property("Skybox", "day.dds")) +
                                 Shape("PrefabShape", Property("Filename", "mood\\sky")) + "</prefab>");
    KvImportResult imported = KvImportDriver(PluginHost()).Import({source, "", ""});
    ASSERT_TRUE(imported.Succeeded()) << imported.m_Result.GetReason();
    const KvReflectedDataType* pType = Prefab::GetReflectedDataType();
    const Json saved =
        KvJsonStore::Save(pType, imported.m_pResource->GetRawData(), imported.GetPlaceholderAddresses());
    KvPlaceholderSet placeholders;
    auto* pLoaded = static_cast<Prefab*>(KvJsonStore::Load(pType, saved, "saved", &placeholders));
    ASSERT_NE(pLoaded, nullptr);
    // One mesh for both shapes, the particles, three textures, and a prefab and a tag per mood.
    EXPECT_EQ(placeholders.GetObjects().size(), 25u);
    EXPECT_EQ(static_cast<void*>(pLoaded->m_apActors.at(1)->m_pDefaultEditorShape),
              placeholders.GetObjects()[0].first);
    EXPECT_EQ(KvJsonStore::Save(pType, pLoaded, placeholders.GetNameOnlyTargets()), saved);
    DestroyData(pLoaded);
}

// A file without elements leaves the resource's data as it was.
TEST_F(EnginePrefabImport, EmptyFile_ExistingReturnedAndLogged)
{
    for (const std::string text : {"", "  \n", "<?xml version=\"1.0\"?><!-- nothing -->"})
    {
        KvResourceImporter_EnginePrefab importer;
        Prefab existing;
        RecordingLog log;
        EXPECT_EQ(ImportRun(importer, BytesOf(text), "resource", &existing).Raw<Prefab>(), &existing);
        ASSERT_EQ(log.m_aEntries.size(), 1u);
        EXPECT_EQ(log.m_aEntries[0].m_uiLevel, 3u);
        EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                    ContainsReportFrom("importers\\KvResourceImporter_EnginePrefab",
                                       "KvResourceImporter_EnginePrefab::ConvertToRaw",
                                       "Empty prefab file 'KvIOStream_Memory'"));
    }
}
