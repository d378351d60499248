#include "TypeManager/KvTypeInfo.h"
#include "actions/KvUndoHistory.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvResource.h"
#include "store/KvJsonStore.h"
#include "support/KvActionMenu.h"
#include "support/KvRandomHistory.h"
#include "support/KvReflectedData.h"
#include "support/KvTestData.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace
{
using Mesh = KvProjectData_Core_Raw_Mesh;
using Material = KvProjectData_Core_Raw_Material;
using Binding = KvProjectData_Core_Raw_MaterialPassBinding;
using Pass = KvProjectData_Core_Raw_RenderPass;
using Shader = KvCompiledShaderPass_Ref;
using Shape = KvProjectData_Core_Raw_RenderShapeMesh;
using Override = KvNativeAction_Mesh_OverrideShaderBinding;
using Revert = KvNativeAction_Mesh_RevertShaderBinding;
using Decal = KvNativeAction_Mesh_SetMeshDecalBindings;
using Strings = std::vector<std::string>;
using Json = KvJsonStore::Json;

// The menu lists its overrides first, then the decal action and the revert.
constexpr size_t kOverrideCount = 7;
constexpr const char* kData = "actions/mesh_rendering.json";

// "-" names nothing.
template <class T>
T* Find(const std::string& name)
{
    return name == "-" ? nullptr : T::GetExternalReference(name.c_str());
}

// Bindings are written "pass:shader".
Material* AddMaterial(Mesh& mesh, const char* name, const Strings& bindings)
{
    Material* pMaterial = mesh.m_apMaterials.emplace_back(MakeNamed<Material>(name).release());
    for (const std::string& text : bindings)
    {
        Binding* pBinding = pMaterial->m_apBindings.emplace_back(NewData<Binding>());
        pBinding->m_pRenderPass = Find<Pass>(text.substr(0, text.find(':')));
        pBinding->m_pShader = Find<Shader>(text.substr(text.find(':') + 1));
    }
    return pMaterial;
}

Strings Bindings(const Material& material)
{
    Strings texts;
    for (const Binding* pBinding : material.m_apBindings)
        texts.push_back((pBinding->m_pRenderPass ? pBinding->m_pRenderPass->m_strName : "-") + ":" +
                        (pBinding->m_pShader ? pBinding->m_pShader->m_strName : "-"));
    return texts;
}

Json Saved(const Mesh& mesh)
{
    return KvJsonStore::Save(Mesh::GetReflectedDataType(), &mesh);
}

// The override and revert as the menu makes them.
KvSmartPtr<KvNativeAction> NewOverride(Mesh& mesh, const char* shader)
{
    return new Override("override", &mesh, Find<Shader>(shader), Find<Pass>("gbuffer_noSSAO"),
                        Find<Pass>("gbuffer"));
}
KvSmartPtr<KvNativeAction> NewRevert(Mesh& mesh)
{
    return new Revert("revert", &mesh, Find<Pass>("gbuffer_noSSAO"), Find<Pass>("gbuffer"));
}

// The render passes and shaders of a project (those the menu names, the door shaders, A, B and
// C), and a mesh.
class MeshRendering : public ::testing::Test
{
protected:
    void SetUp() override { AddMissingProjectObjects(); }
    void AddMissingProjectObjects()
    {
        for (const char* name : {"gbuffer", "gbuffer_noSSAO", "shadow", "gbuffer_door"})
            m_Passes.emplace(name, MakeNamed<Pass>(name));
        for (const char* name : {"A", "B", "C", "Mq_Door_GBuffer_AlphaTest", "Mq_Door_GBuffer_Alpha"})
            m_Shaders.emplace(name, MakeNamed<Shader>(name));
        for (const std::string shader : TestDataTable(kData, "menu shaders"))
            m_Shaders.emplace(shader, MakeNamed<Shader>(shader));
    }
    ActionList Menu() const { return ActionMenu(m_pMesh.get(), "Rendering"); }

    std::map<std::string, OwnedData<Pass>> m_Passes;
    std::map<std::string, OwnedData<Shader>> m_Shaders;
    OwnedData<Mesh> m_pMesh = MakeData<Mesh>();
};
} // namespace

// Run through a history, a material without bindings gains two from each override and loses
// them on Undo; every step reports the mesh and its resource.
TEST_F(MeshRendering, Menu_NineActionsInOrder_EachReportingTheMeshAndItsResource)
{
    const Material& material = *AddMaterial(*m_pMesh, "Wall", {});
    KvResource resource;
    m_pMesh->m_pRunResource = &resource;
    const ActionList actions = Menu();
    const Strings labels = TestDataTable(kData, "menu"), shaders = TestDataTable(kData, "menu shaders");
    ASSERT_EQ(ActionNames(actions), labels);
    KvUndoHistory history;
    for (size_t index = 0; index < actions.size(); ++index)
    {
        const std::string& label = labels[index];
        SCOPED_TRACE(label);
        EXPECT_EQ(actions[index]->GetClassType()->m_pParent->m_strName, "KvReflectedObjectAction");
        EXPECT_EQ(actions[index]->GetClassType(), index < kOverrideCount    ? Override::GetType()
                                                  : index == kOverrideCount ? Decal::GetType()
                                                                            : Revert::GetType());
        const KvUndoHistory::tStepReport done = history.Do(actions[index]);
        const Strings expected =
            index < kOverrideCount ? Strings{"gbuffer_noSSAO:" + shaders[index], "gbuffer:-"} : Strings();
        EXPECT_EQ(Bindings(material), expected);
        for (const KvUndoHistory::tStepReport& report : {done, history.Undo()})
        {
            EXPECT_EQ(report.m_aChangedMemory, std::vector<void*>{m_pMesh.get()});
            EXPECT_EQ(report.m_apModifiedResources, std::vector<KvResource*>{&resource});
            EXPECT_FALSE(report.m_bUpdatesSelection);
            EXPECT_TRUE(report.m_aSelection.empty());
        }
        EXPECT_TRUE(material.m_apBindings.empty());
    }
    m_pMesh->m_pRunResource = nullptr;
    std::vector<KvResource*> resources;
    actions[0]->GetModifiedResources(resources);
    EXPECT_TRUE(resources.empty());
}

TEST_F(MeshRendering, Menu_MissingPassOrShader_FatalAndNothingOffered)
{
    const std::string match =
        " no longer match hardcodeed native actions changed. Please update native actions";
    const std::tuple<const char*, int, std::string> rows[] = {
        {"gbuffer", 69, "RenderPasses" + match},
        {"gbuffer_noSSAO", 69, "RenderPasses" + match},
        {"LPP_GBuffer_Default_Skinned", 75, "Shaders" + match},
        {"LPP_GBuffer_AlternateLight_Skinned_AlphaTest", 81, "Shaders" + match}};
    for (const auto& [missing, line, message] : rows)
    {
        SCOPED_TRACE(missing);
        m_Passes.erase(missing);
        m_Shaders.erase(missing);
        ActionList offered;
        const std::string report =
            ExpectedReport("Resources\\Rendering\\KvProjectData_Core_Raw_Mesh",
                           "KvProjectData_Core_Raw_Mesh::GetRenderingActions", line, message);
        EXPECT_EXIT(Menu(), ::testing::ExitedWithCode(255), ::testing::HasSubstr(report));
        EXPECT_EQ(RaisedFatalReport([&] { offered = Menu(); }), report);
        EXPECT_TRUE(offered.empty());
        AddMissingProjectObjects();
    }
}

// Each row on one material: Do, then Undo back to the saved mesh.
TEST_F(MeshRendering, OverrideAndRevert_BindingListsRestoredByUndo)
{
    for (const auto& row : TestDataTable(kData, "override B or revert"))
    {
        const bool bRevert = row["revert"];
        const Strings before = row["before"], after = row["after"];
        SCOPED_TRACE(row.dump());
        const OwnedData<Mesh> pMesh = MakeData<Mesh>();
        const Material& material = *AddMaterial(*pMesh, "Wall", before);
        const std::vector<Binding*> bindingsBefore = material.m_apBindings;
        const Json saved = Saved(*pMesh);
        const KvSmartPtr<KvNativeAction> action = bRevert ? NewRevert(*pMesh) : NewOverride(*pMesh, "B");
        action->Do();
        EXPECT_EQ(Bindings(material), after);
        // An override changes the bindings it finds in place.
        EXPECT_TRUE(bRevert ||
                    std::equal(bindingsBefore.begin(), bindingsBefore.end(), material.m_apBindings.begin()));
        action->Undo();
        EXPECT_EQ(Saved(*pMesh), saved);
    }
}

TEST_F(MeshRendering, TwoOverrides_UndoOfTheSecondRestoresTheFirstsResult)
{
    AddMaterial(*m_pMesh, "Wall", {"gbuffer:A", "shadow:B"});
    AddMaterial(*m_pMesh, "Floor", {});
    const Json original = Saved(*m_pMesh);
    KvUndoHistory history;
    history.Do(NewOverride(*m_pMesh, "B"));
    const Json first = Saved(*m_pMesh);
    history.Do(NewOverride(*m_pMesh, "C"));
    EXPECT_EQ(Bindings(*m_pMesh->m_apMaterials[1]), (Strings{"gbuffer_noSSAO:C", "gbuffer:-"}));
    history.Undo();
    EXPECT_EQ(Saved(*m_pMesh), first);
    history.Undo();
    EXPECT_EQ(Saved(*m_pMesh), original);
}

// Random materials and runs of Do, Undo and Redo (fixed seeds) restore the saved mesh.
TEST_F(MeshRendering, RandomDoUndoRedo_RestoresTheSavedMeshExactly)
{
    const char* const passes[] = {"gbuffer", "gbuffer_noSSAO", "shadow", "-"};
    const char* const shaders[] = {"A", "B", "C", "-"};
    for (uint32_t seed = 1; seed <= 30; ++seed)
    {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const OwnedData<Mesh> pMesh = MakeData<Mesh>();
        for (size_t material = 1 + rng() % 4; material > 0; --material)
        {
            Strings bindings(rng() % 6);
            for (std::string& binding : bindings)
                binding = std::string(passes[rng() % 4]) + ":" + shaders[rng() % 4];
            AddMaterial(*pMesh, "M", bindings);
        }
        RunRandomHistory(
            rng, 20, [&] { return Saved(*pMesh); },
            [&] { return rng() % 3 == 0 ? NewRevert(*pMesh) : NewOverride(*pMesh, shaders[rng() % 4]); });
    }
}

TEST_F(MeshRendering, MeshDecal_SourcesChosenByName)
{
    for (const auto& row : TestDataTable(kData, "decal sources"))
    {
        const Strings names = row["materials"];
        const float interior = row["interior"], exterior = row["exterior"];
        SCOPED_TRACE(names[0]);
        const OwnedData<Mesh> pMesh = MakeData<Mesh>();
        for (size_t index = 0; index < names.size(); ++index)
            AddMaterial(*pMesh, names[index].c_str(), {})->m_props.m_fSpecularStrength = float(index);
        Decal("decal", pMesh.get()).Do();
        ASSERT_EQ(pMesh->m_apMaterials.size(), 6u);
        EXPECT_EQ(pMesh->m_apMaterials[3]->m_props.m_fSpecularStrength, interior);
        EXPECT_EQ(pMesh->m_apMaterials[4]->m_props.m_fSpecularStrength, exterior);
        EXPECT_EQ(pMesh->m_apMaterials[5]->m_props.m_fSpecularStrength, exterior);
    }
}

TEST_F(MeshRendering, MeshDecal_FiveMaterialsBecomeSixAndTheShapeHasFiveLayers)
{
    const OwnedData<Material> pStencil = MakeNamed<Material>("meshdecals\\meshdecal_stenciltag");
    const OwnedData<Material> pCull = MakeNamed<Material>("meshdecals\\meshdecal_cull");
    AddMaterial(*m_pMesh, "Wall", {"gbuffer:A"});
    AddMaterial(*m_pMesh, "Wall_Alpha", {});
    Decal("decal", m_pMesh.get()).Do();
    EXPECT_EQ(m_pMesh->m_pRenderShape, nullptr) << "two materials are too few";

    m_pMesh->m_strName = "door";
    for (const char* name : {"Wall_Cull", "Extra1", "Extra2"})
        AddMaterial(*m_pMesh, name, {});
    // The mesh holds Extra2 in a second place, so only Extra1 goes.
    m_pMesh->m_aMaterials.resize(1);
    m_pMesh->m_aMaterials[0].m_pDefaultMaterial = m_pMesh->m_apMaterials[4];
    m_pMesh->m_pRenderShape = MakeNamed<Shape>("old").release();
    const std::vector<Material*> sources(m_pMesh->m_apMaterials.begin(), m_pMesh->m_apMaterials.begin() + 3);
    const ActionList actions = Menu();
    actions[kOverrideCount]->Do();
    const std::vector<Material*>& materials = m_pMesh->m_apMaterials;
    ASSERT_EQ(materials.size(), 6u);
    EXPECT_TRUE(std::equal(sources.begin(), sources.end(), materials.begin()));
    EXPECT_EQ(Find<Material>("Extra1"), nullptr);
    EXPECT_EQ(Find<Material>("Extra2"), m_pMesh->m_aMaterials[0].m_pDefaultMaterial);
    EXPECT_EQ(Find<Shape>("old"), nullptr);
    EXPECT_EQ(Bindings(*sources[0]), Strings{"gbuffer:A"});
    const Shape& shape = *m_pMesh->m_pRenderShape;
    EXPECT_EQ(shape.m_strName, "door");
    EXPECT_TRUE(shape.m_bDontImport);
    ASSERT_EQ(shape.m_apLods.size(), 1u);
    Strings layers;
    for (const KvProjectData_Core_Raw_RenderShapeMeshLayer* pLayer : shape.m_apLods[0]->m_apLayers)
        layers.push_back((pLayer->m_pMesh == m_pMesh.get() ? "" : "another mesh ") +
                         std::to_string(pLayer->m_ulSubMeshIndex) + ":" + pLayer->m_pMaterial->m_strName);
    EXPECT_EQ(layers, (Strings{"2:meshdecals\\meshdecal_stenciltag", "2:meshdecals\\meshdecal_cull",
                               "0:door_meshdecal_interior", "1:door_meshdecal_exterior_at",
                               "1:door_meshdecal_exterior"}));
    const Strings alphaTested{"gbuffer:-", "gbuffer_door:Mq_Door_GBuffer_AlphaTest"};
    const Strings clones[] = {alphaTested, alphaTested, {"gbuffer:-", "gbuffer_door:Mq_Door_GBuffer_Alpha"}};
    for (size_t index = 0; index < std::size(clones); ++index)
    {
        const Material& clone = *materials[3 + index];
        EXPECT_EQ(shape.m_apLods[0]->m_apLayers[2 + index]->m_pMaterial, &clone);
        EXPECT_EQ(Bindings(clone), clones[index]);
        // A GUID of its own: its source's would find the source.
        EXPECT_EQ(Material::GetExternalReference(clone.m_XRefGUID), &clone);
    }
    // The rebuild stays.
    const Json decal = Saved(*m_pMesh);
    actions[kOverrideCount]->Undo();
    EXPECT_EQ(Saved(*m_pMesh), decal);
}
