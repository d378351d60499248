#include "actions/KvUndoHistory.h"
#include "host/KvImportDriver.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvFileSystemInterface.h"
#include "support/KvActionMenu.h"
#include "support/KvPluginHost.h"
#include "support/KvReflectedData.h"
#include "support/KvTestData.h"
#include "support/KvTestFolder.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

namespace
{
using Prefab = KvProjectData_Core_Raw_ActorPrefab;
using Actor = KvProjectData_Core_Raw_ActorEntry;
using Shape = KvProjectData_Core_Raw_RenderShapeMesh;

constexpr const char* kFile = "actions\\KvNativeAction_ActorPrefab_Export";
// Prefabs for the export, with the shapes they name; everything is released with the fixture.
class PrefabExport : public TestFolder
{
protected:
    void SetUp() override
    {
        TestFolder::SetUp();
        KvFileSystemInterface::GetInterface()->SetBaseFolder(Path("base"));
    }
    void TearDown() override
    {
        KvFileSystemInterface::GetInterface()->SetBaseFolder("./");
        for (Prefab* pPrefab : m_apPrefabs)
            DestroyData(pPrefab);
        for (Shape* pShape : m_apShapes)
            DestroyData(pShape);
        TestFolder::TearDown();
    }

    Shape* NewShape(const char* name) { return m_apShapes.emplace_back(NewNamed<Shape>(name)); }
    Prefab* NewPrefab(const char* name, Shape* pShape = nullptr)
    {
        Prefab* pPrefab = m_apPrefabs.emplace_back(NewNamed<Prefab>(name));
        pPrefab->m_pDefaultEditorShape = pShape;
        return pPrefab;
    }
    // An actor at a world placement, appended to the list given.
    static Actor* AddActor(std::vector<Actor*>& list, const char* name, Shape* pShape, KvVector3 position,
                           KvVector3 ypr = {}, KvVector3 scale = {1.0f, 1.0f, 1.0f})
    {
        Actor* pActor = list.emplace_back(NewNamed<Actor>(name));
        pActor->m_pDefaultEditorShape = pShape;
        KvTransformSpace& world = *pActor->m_pTransform->m_WorldTransform;
        world.m_vPosition = position;
        world.m_vYPR = ypr;
        world.m_vScale = scale;
        return pActor;
    }

    // "house": its own shape, actors yard (no shape; child lamp), wall (children "C1 & co" and
    // tree, which has no shape of its own but instances "garden") and roof.
    Prefab* NewHouse()
    {
        Prefab* pHouse = NewPrefab("house", NewShape("rock"));
        Actor* pYard = AddActor(pHouse->m_apActors, "yard", nullptr, {});
        AddActor(pYard->m_apChildren, "lamp", NewShape("lamp"), {-3.0f, 2.0f, 0.75f});
        Actor* pWall = AddActor(pHouse->m_apActors, "wall", NewShape("wall"), {1.5f, 0.0f, -2.0f},
                                {90.0f, -45.0f, 180.0f}, {1.0f, 2.0f, 3.0f});
        AddActor(pWall->m_apChildren, "C1 & co", NewShape("door"), {1.5f, 0.0f, -1.0f});
        Actor* pTree = AddActor(pWall->m_apChildren, "tree", nullptr, {2.5f, 0.0f, 4.0f}, {0.0f, 0.0f, 30.0f},
                                {0.5f, 0.5f, 0.5f});
        pTree->m_pPrefab = NewPrefab("garden", NewShape("oak"));
        AddActor(pHouse->m_apActors, "roof", NewShape("roof"), {0.0f, 3.25f, 0.0f});
        return pHouse;
    }

    std::string ExportedPath(const char* prefabName) const
    {
        return Path("base/export/actorprefabs/") + prefabName + ".prefab";
    }

    std::vector<Prefab*> m_apPrefabs;
    std::vector<Shape*> m_apShapes;
};
} // namespace

TEST_F(PrefabExport, File_ExactBytesReplacingAnEarlierFile)
{
    for (Prefab* pPrefab : {NewHouse(), NewPrefab("empty")})
    {
        const std::string& name = pPrefab->m_strName;
        SCOPED_TRACE(name);
        const std::string expected = ReadFile(KV_GOLDEN_DIR "/export/" + name + ".prefab");
        ASSERT_FALSE(expected.empty());
        Write("base/export/actorprefabs/" + name + ".prefab", std::string(4000, 'x'));
        KvNativeAction_ActorPrefab_Export(pPrefab).Do();
        EXPECT_EQ(ReadFile(ExportedPath(name.c_str())), expected);
    }
}

TEST_F(PrefabExport, UnwritablePath_LoggedWithItsMessage)
{
    Write("base/export", "a file where the folder should be");
    RecordingLog log;
    KvNativeAction_ActorPrefab_Export(NewHouse()).Do();
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(log.m_aEntries[0].m_strCategory, "Default");
    EXPECT_EQ(log.m_aEntries[0].m_uiLevel, 3u);
    EXPECT_EQ(log.m_aEntries[0].m_strMessage,
              ExpectedReport(kFile, "KvNativeAction_ActorPrefab_Export::DoExport", 98,
                             "Failed to open file '" + Path("base") +
                                 "/export\\actorprefabs\\house.prefab' for export - please check read only "
                                 "flags or lock status"));
}

// The menu offers one action, which a history runs: nothing to undo, a redo writes again.
TEST_F(PrefabExport, Menu_OneActionRunThroughTheUndoHistory)
{
    const ActionList actions = ActionMenu(NewHouse(), "Export Prefab");
    ASSERT_EQ(ActionNames(actions), std::vector<std::string>{"Export prefab house"});
    KvUndoHistory history;
    const KvUndoHistory::tStepReport done = history.Do(actions[0]);
    EXPECT_TRUE(done.m_bUpdatesSelection);
    EXPECT_TRUE(done.m_aChangedMemory.empty() && done.m_apModifiedResources.empty() &&
                done.m_aSelection.empty());
    EXPECT_TRUE(std::filesystem::remove(ExportedPath("house")));
    history.Undo();
    EXPECT_FALSE(std::filesystem::exists(ExportedPath("house")));
    history.Redo();
    EXPECT_TRUE(std::filesystem::exists(ExportedPath("house")));
}

// What the engine's prefab importer reads back: one entry per shape in file order, named as
// written, with the written placement as its local transform. Equal scales fold into the
// uniform scale, and the importer re-expresses angles in the transforms' convention (a roll of
// 30 degrees comes back as a pitch of -30).
TEST_F(PrefabExport, RoundTrip_ThePrefabImporterReadsShapesNamesAndPlacements)
{
    KvNativeAction_ActorPrefab_Export(NewHouse()).Do();
    KvImportResult imported = KvImportDriver(PluginHost()).Import({ExportedPath("house"), Path("base"), ""});
    ASSERT_TRUE(imported.Succeeded()) << imported.m_Result.GetReason();
    const auto* pImported = static_cast<const Prefab*>(imported.m_pResource->GetRawData());
    // The wall (third in the file) turns about all three axes; only its place and scale are compared.
    ASSERT_EQ(pImported->m_apActors.size(), 6u);
    const Actor& wall = *pImported->m_apActors[2];
    EXPECT_EQ(wall.m_strName, "wall");
    EXPECT_EQ(wall.m_pTransform->m_LocalTransform->m_vPosition, (KvVector3{1.5f, 0.0f, -2.0f}));
    EXPECT_EQ(wall.m_pTransform->m_LocalTransform->m_vScale, (KvVector3{1.0f, 2.0f, 3.0f}));
    // Rows: name, shape, position, yaw-pitch-roll, scale, uniform scale.
    const nlohmann::ordered_json expected = TestDataJson("actions/house_prefab_import.json");
    const auto vector = [](const nlohmann::ordered_json& xyz)
    {
        return KvVector3{xyz[0], xyz[1], xyz[2]};
    };
    for (size_t index = 0; index < expected.size(); ++index)
    {
        const nlohmann::ordered_json& row = expected[index];
        SCOPED_TRACE(row.dump());
        const Actor& actor = *pImported->m_apActors[index < 2 ? index : index + 1];
        EXPECT_EQ(actor.m_strName, row[0]);
        ASSERT_NE(actor.m_pDefaultEditorShape, nullptr);
        EXPECT_EQ(actor.m_pDefaultEditorShape->m_strName, row[1]);
        const KvTransformSpace& local = *actor.m_pTransform->m_LocalTransform;
        EXPECT_EQ(local.m_vPosition, vector(row[2]));
        EXPECT_NEAR(local.m_vYPR.x, row[3][0], 1e-3f);
        EXPECT_NEAR(local.m_vYPR.y, row[3][1], 1e-3f);
        EXPECT_NEAR(local.m_vYPR.z, row[3][2], 1e-3f);
        EXPECT_EQ(local.m_vScale, vector(row[4]));
        EXPECT_EQ(local.m_fUniformHierarchyScale, row[5]);
    }
}
