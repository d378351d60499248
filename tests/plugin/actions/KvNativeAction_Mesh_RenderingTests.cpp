#include "TypeManager/KvTypeInfo.h"
#include "actions/KvUndoHistory.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvResource.h"
#include "store/KvJsonStore.h"
#include "support/KvReflectedData.h"
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
using Override = KvNativeAction_Mesh_OverrideShaderBinding;
using Revert = KvNativeAction_Mesh_RevertShaderBinding;
using Decal = KvNativeAction_Mesh_SetMeshDecalBindings;
using Actions = std::vector<KvSmartPtr<KvNativeAction>>;
using Strings = std::vector<std::string>;

const char* const kPasses[] = {"gbuffer", "gbuffer_noSSAO", "shadow", "gbuffer_door"};
// The shaders the menu names, then four a material may be bound to.
const char* const kShaders[] = {"LPP_GBuffer_Default",
                                "LPP_GBuffer_Default_Skinned",
                                "LPP_GBuffer_AlphaTest",
                                "LPP_GBuffer_AlternateLight",
                                "LPP_GBuffer_AlternateLight_Skinned",
                                "LPP_GBuffer_AlternateLight_AlphaTest",
                                "LPP_GBuffer_AlternateLight_Skinned_AlphaTest",
                                "Mq_Door_GBuffer_AlphaTest",
                                "Mq_Door_GBuffer_Alpha",
                                "A",
                                "B",
                                "C",
                                "X"};

// The render passes, shaders and decal materials of a project, and a mesh. Bindings are
// written "pass:shader", "-" for none.
class MeshRendering : public ::testing::Test
{
protected:
    void SetUp() override { AddProjectObjects(); }

    // Those missing from the project.
    void AddProjectObjects()
    {
        for (const char* name : kPasses)
            m_Passes.emplace(name, Named<Pass>(name));
        for (const char* name : kShaders)
            m_Shaders.emplace(name, Named<Shader>(name));
    }

    template <class T>
    static OwnedData<T> Named(const std::string& name)
    {
        OwnedData<T> pObject = MakeData<T>();
        pObject->m_strName = name;
        return pObject;
    }
    template <class T>
    static T* Find(const std::string& name)
    {
        return name == "-" ? nullptr : T::GetExternalReference(name.c_str());
    }

    static Material* AddMaterial(Mesh& mesh, const char* name, const Strings& bindings)
    {
        Material* pMaterial = mesh.m_apMaterials.emplace_back(Named<Material>(name).release());
        for (const std::string& text : bindings)
        {
            Binding* pBinding = pMaterial->m_apBindings.emplace_back(NewData<Binding>());
            pBinding->m_pRenderPass = Find<Pass>(text.substr(0, text.find(':')));
            pBinding->m_pShader = Find<Shader>(text.substr(text.find(':') + 1));
        }
        return pMaterial;
    }
    static Strings Bindings(const Material& material)
    {
        Strings texts;
        for (const Binding* pBinding : material.m_apBindings)
            texts.push_back((pBinding->m_pRenderPass ? pBinding->m_pRenderPass->m_strName : "-") + ":" +
                            (pBinding->m_pShader ? pBinding->m_pShader->m_strName : "-"));
        return texts;
    }
    static KvJsonStore::Json Saved(const Mesh& mesh)
    {
        return KvJsonStore::Save(Mesh::GetReflectedDataType(), &mesh);
    }

    Actions Menu() const
    {
        Actions actions;
        const auto* pMenu =
            KvFindAttribute<KvAttribute_NativeAction>(Mesh::GetReflectedDataType()->GetAttributes());
        EXPECT_EQ(pMenu->GetMenuName(), "Rendering");
        pMenu->GetFactory()(actions, nullptr, Mesh::GetReflectedDataType(), nullptr, nullptr, m_pMesh.get());
        return actions;
    }
    // An override as the menu makes them, with the shader given.
    KvSmartPtr<KvNativeAction> NewOverride(Mesh& mesh, const char* shader) const
    {
        return new Override("override", &mesh, Find<Shader>(shader), Find<Pass>("gbuffer_noSSAO"),
                            Find<Pass>("gbuffer"));
    }
    KvSmartPtr<KvNativeAction> NewRevert(Mesh& mesh) const
    {
        return new Revert("revert", &mesh, Find<Pass>("gbuffer_noSSAO"), Find<Pass>("gbuffer"));
    }

    std::map<std::string, OwnedData<Pass>> m_Passes;
    std::map<std::string, OwnedData<Shader>> m_Shaders;
    OwnedData<Mesh> m_pMesh = MakeData<Mesh>();
};
} // namespace

// The labels and shaders of the menu table, and a material without bindings that gains two.
TEST_F(MeshRendering, Menu_NineActionsInOrder_EachOverrideBindsItsShader)
{
    const char* const labels[] = {"Override nonSSAO",
                                  "Override nonSSAO Skinned",
                                  "Override nonSSAO AlphaTested",
                                  "Override nonSSAO AlternateLight",
                                  "Override nonSSAO AlternateLight Skinned",
                                  "Override nonSSAO AlternateLight AlphaTested",
                                  "Override nonSSAO AlternateLight Skinned AlphaTested",
                                  "Set MeshDecal bindings",
                                  "Revert Shader Override"};
    Material* pMaterial = AddMaterial(*m_pMesh, "Wall", {});
    const Actions actions = Menu();
    ASSERT_EQ(actions.size(), std::size(labels));
    for (size_t index = 0; index < actions.size(); ++index)
    {
        SCOPED_TRACE(labels[index]);
        EXPECT_EQ(actions[index]->GetName(), labels[index]);
        const bool bOverride = index < 7;
        EXPECT_EQ(actions[index]->GetClassType(),
                  bOverride ? Override::GetType() : (index == 7 ? Decal::GetType() : Revert::GetType()));
        if (!bOverride)
            continue;
        actions[index]->Do();
        EXPECT_EQ(Bindings(*pMaterial),
                  (Strings{std::string("gbuffer_noSSAO:") + kShaders[index], "gbuffer:-"}));
        actions[index]->Undo();
        EXPECT_TRUE(pMaterial->m_apBindings.empty());
    }
}

TEST_F(MeshRendering, EveryAction_ReportsTheMeshAndItsResourceAndNoSelection)
{
    for (const char* name : {"Wall", "Wall_Alpha", "Wall_Cull"})
        AddMaterial(*m_pMesh, name, {"gbuffer:A"});
    KvResource resource;
    m_pMesh->m_pRunResource = &resource;
    {
        KvUndoHistory history;
        for (const KvSmartPtr<KvNativeAction>& action : Menu())
        {
            SCOPED_TRACE(action->GetName());
            for (const KvUndoHistory::tStepReport& report : {history.Do(action), history.Undo()})
            {
                EXPECT_EQ(report.m_aChangedMemory, std::vector<void*>{m_pMesh.get()});
                EXPECT_EQ(report.m_apModifiedResources, std::vector<KvResource*>{&resource});
                EXPECT_FALSE(report.m_bUpdatesSelection);
                EXPECT_TRUE(report.m_aSelection.empty());
            }
        }
    }
    m_pMesh->m_pRunResource = nullptr;
    std::vector<KvResource*> resources;
    Menu()[0]->GetModifiedResources(resources);
    EXPECT_TRUE(resources.empty());
}

TEST_F(MeshRendering, Menu_MissingPassOrShader_FatalAndNothingOffered)
{
    const char* const passes =
        "RenderPasses no longer match hardcodeed native actions changed. Please update "
        "native actions";
    const char* const shaders =
        "Shaders no longer match hardcodeed native actions changed. Please update native "
        "actions";
    const struct
    {
        const char* m_szMissing;
        int m_iLine;
        const char* m_szMessage;
    } rows[] = {{"gbuffer", 69, passes},
                {"gbuffer_noSSAO", 69, passes},
                {"LPP_GBuffer_Default_Skinned", 75, shaders},
                {"LPP_GBuffer_AlternateLight_Skinned_AlphaTest", 81, shaders}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_szMissing);
        m_Passes.erase(row.m_szMissing);
        m_Shaders.erase(row.m_szMissing);
        const std::string report =
            ExpectedReport("Resources\\Rendering\\KvProjectData_Core_Raw_Mesh",
                           "KvProjectData_Core_Raw_Mesh::GetRenderingActions", row.m_iLine, row.m_szMessage);
        EXPECT_EXIT(Menu(), ::testing::ExitedWithCode(255), ::testing::HasSubstr(report));
        Actions offered;
        const auto* pMenu =
            KvFindAttribute<KvAttribute_NativeAction>(Mesh::GetReflectedDataType()->GetAttributes());
        EXPECT_EQ(RaisedFatalReport(
                      [&] { pMenu->GetFactory()(offered, nullptr, nullptr, nullptr, nullptr, nullptr); }),
                  report);
        EXPECT_TRUE(offered.empty());
        AddProjectObjects();
    }
}

// Override and revert on one material, then Undo, then a redo that clones again.
TEST_F(MeshRendering, OverrideAndRevert_BindingListsRestoredByUndo)
{
    const struct
    {
        const char* m_szCase;
        bool m_bRevert;
        Strings m_aBefore;
        Strings m_aAfter;
    } rows[] = {
        {"both gbuffer bindings change in place",
         false,
         {"gbuffer:A", "shadow:B", "gbuffer_noSSAO:C"},
         {"gbuffer:-", "shadow:B", "gbuffer_noSSAO:X"}},
        {"only the missing override binding is added",
         false,
         {"shadow:B", "gbuffer:A"},
         {"shadow:B", "gbuffer:-", "gbuffer_noSSAO:X"}},
        {"only the missing replaced binding is added",
         false,
         {"gbuffer_noSSAO:C"},
         {"gbuffer_noSSAO:X", "gbuffer:-"}},
        {"the last of a pass bound twice changes",
         false,
         {"gbuffer:A", "gbuffer:B"},
         {"gbuffer:A", "gbuffer:-", "gbuffer_noSSAO:X"}},
        {"revert keeps only other passes", true, {"gbuffer:A", "shadow:B", "gbuffer_noSSAO:C"}, {"shadow:B"}},
        {"revert takes neighbours out one after another",
         true,
         {"gbuffer_noSSAO:C", "gbuffer:A", "gbuffer:-", "shadow:B", "-:A", "gbuffer_noSSAO:-"},
         {"shadow:B", "-:A"}},
        {"revert without bindings", true, {}, {}},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_szCase);
        OwnedData<Mesh> pMesh = MakeData<Mesh>();
        Material& material = *AddMaterial(*pMesh, "Wall", row.m_aBefore);
        const std::vector<Binding*> before = material.m_apBindings;
        const KvJsonStore::Json saved = Saved(*pMesh);
        const KvSmartPtr<KvNativeAction> action =
            row.m_bRevert ? NewRevert(*pMesh) : NewOverride(*pMesh, "X");
        action->Do();
        EXPECT_EQ(Bindings(material), row.m_aAfter);
        // An override changes what it finds in place.
        EXPECT_TRUE(row.m_bRevert || std::equal(before.begin(), before.end(), material.m_apBindings.begin()));
        action->Undo();
        EXPECT_EQ(Saved(*pMesh), saved);
        action->Do();
        EXPECT_EQ(Bindings(material), row.m_aAfter);
    }
}

TEST_F(MeshRendering, TwoOverrides_UndoOfTheSecondRestoresTheFirstsResult)
{
    AddMaterial(*m_pMesh, "Wall", {"gbuffer:A", "shadow:B"});
    AddMaterial(*m_pMesh, "Floor", {});
    const KvJsonStore::Json original = Saved(*m_pMesh);
    KvUndoHistory history;
    history.Do(NewOverride(*m_pMesh, "B"));
    const KvJsonStore::Json first = Saved(*m_pMesh);
    history.Do(NewOverride(*m_pMesh, "C"));
    EXPECT_EQ(Bindings(*m_pMesh->m_apMaterials[1]), (Strings{"gbuffer_noSSAO:C", "gbuffer:-"}));
    history.Undo();
    EXPECT_EQ(Saved(*m_pMesh), first);
    history.Undo();
    EXPECT_EQ(Saved(*m_pMesh), original);
}

// A copy holds clones of its own: each undoes on its own and frees only what it holds.
TEST_F(MeshRendering, CopiedAction_UndoesWithItsOwnClones)
{
    AddMaterial(*m_pMesh, "Wall", {"gbuffer:A"});
    const KvJsonStore::Json original = Saved(*m_pMesh);
    Override action("override", m_pMesh.get(), Find<Shader>("B"), Find<Pass>("gbuffer_noSSAO"),
                    Find<Pass>("gbuffer"));
    action.Do();
    Override assigned;
    assigned = action;
    Override(action).Undo();
    EXPECT_EQ(Saved(*m_pMesh), original);
    assigned.Undo();
    EXPECT_EQ(Saved(*m_pMesh), original);
}

// Any run of Do, Undo and Redo over random materials leaves the mesh, after each Undo or
// Redo, exactly as it was at that point of the history.
TEST_F(MeshRendering, RandomDoUndoRedo_RestoresTheSavedMeshExactly)
{
    const char* const passes[] = {"gbuffer", "gbuffer_noSSAO", "shadow", "-"};
    const char* const shaders[] = {"A", "B", "C", "-"};
    for (uint32_t seed = 1; seed <= 30; ++seed)
    {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&random](size_t count)
        {
            return random() % count;
        };
        OwnedData<Mesh> pMesh = MakeData<Mesh>();
        for (size_t material = 1 + pick(4); material > 0; --material)
        {
            Strings bindings(pick(6));
            for (std::string& binding : bindings)
                binding = std::string(passes[pick(4)]) + ":" + shaders[pick(4)];
            AddMaterial(*pMesh, "M", bindings);
        }
        KvUndoHistory history;
        std::vector<KvJsonStore::Json> states{Saved(*pMesh)};
        size_t position = 0;
        for (int step = 0; step < 20; ++step)
        {
            const size_t choice = pick(4);
            if (choice < 2)
            {
                history.Do(pick(3) == 0 ? NewRevert(*pMesh) : NewOverride(*pMesh, shaders[pick(4)]));
                states.resize(++position);
                states.push_back(Saved(*pMesh));
            }
            else if (choice == 2 && history.CanUndo())
            {
                history.Undo();
                ASSERT_EQ(Saved(*pMesh), states[--position]) << "undo at step " << step;
            }
            else if (choice == 3 && history.CanRedo())
            {
                history.Redo();
                ASSERT_EQ(Saved(*pMesh), states[++position]) << "redo at step " << step;
            }
        }
        while (history.CanUndo())
            history.Undo();
        EXPECT_EQ(Saved(*pMesh), states[0]);
    }
}

// Each row: three material names, then the indices of the interior and exterior sources.
TEST_F(MeshRendering, MeshDecal_SourcesChosenByName)
{
    const struct
    {
        const char* m_aszNames[3];
        float m_fInterior;
        float m_fExterior;
    } rows[] = {{{"Wall", "Wall_Alpha", "Wall_Cull"}, 0, 1},
                {{"Stone", "Moss", "Brick"}, 2, 0},
                {{"Door_ALPHA", "Frame", "CULL_mask"}, 1, 0},
                {{"a_cull", "b_cull", "c_cull"}, 1, 0},
                {{"a_alpha", "b_alpha", "c_alpha_cull"}, 1, 1}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_aszNames[0]);
        OwnedData<Mesh> pMesh = MakeData<Mesh>();
        for (int index = 0; index < 3; ++index)
            AddMaterial(*pMesh, row.m_aszNames[index], {})->m_props.m_fSpecularStrength = float(index);
        Decal("decal", pMesh.get()).Do();
        ASSERT_EQ(pMesh->m_apMaterials.size(), 6u);
        EXPECT_EQ(pMesh->m_apMaterials[3]->m_props.m_fSpecularStrength, row.m_fInterior);
        EXPECT_EQ(pMesh->m_apMaterials[4]->m_props.m_fSpecularStrength, row.m_fExterior);
        EXPECT_EQ(pMesh->m_apMaterials[5]->m_props.m_fSpecularStrength, row.m_fExterior);
    }
}

TEST_F(MeshRendering, MeshDecal_FiveMaterialsBecomeSixAndTheShapeHasFiveLayers)
{
    const OwnedData<Material> pStencil = Named<Material>("meshdecals\\meshdecal_stenciltag");
    const OwnedData<Material> pCull = Named<Material>("meshdecals\\meshdecal_cull");
    m_pMesh->m_strName = "props\\door";
    for (const char* name : {"Wall", "Wall_Alpha", "Wall_Cull", "Extra1", "Extra2"})
        AddMaterial(*m_pMesh, name, {"shadow:B"});
    // The mesh still holds Extra2 elsewhere, so only Extra1 goes.
    m_pMesh->m_aMaterials.resize(1);
    m_pMesh->m_aMaterials[0].m_pDefaultMaterial = m_pMesh->m_apMaterials[4];
    m_pMesh->m_pRenderShape = Named<KvProjectData_Core_Raw_RenderShapeMesh>("old").release();
    const std::vector<Material*> sources(m_pMesh->m_apMaterials.begin(), m_pMesh->m_apMaterials.begin() + 3);

    const Actions actions = Menu();
    actions[7]->Do();
    ASSERT_EQ(m_pMesh->m_apMaterials.size(), 6u);
    EXPECT_TRUE(std::equal(sources.begin(), sources.end(), m_pMesh->m_apMaterials.begin()));
    EXPECT_EQ(Material::GetExternalReference("Extra1"), nullptr);
    EXPECT_EQ(Material::GetExternalReference("Extra2"), m_pMesh->m_aMaterials[0].m_pDefaultMaterial);
    EXPECT_EQ(KvProjectData_Core_Raw_RenderShapeMesh::GetExternalReference("old"), nullptr);
    for (const Material* pSource : sources)
        EXPECT_EQ(Bindings(*pSource), Strings{"shadow:B"});
    const struct
    {
        const char* m_szName;
        const Material* m_pSource;
        const char* m_szDoorShader;
    } clones[] = {{"props\\door_meshdecal_interior", sources[0], "Mq_Door_GBuffer_AlphaTest"},
                  {"props\\door_meshdecal_exterior_at", sources[1], "Mq_Door_GBuffer_AlphaTest"},
                  {"props\\door_meshdecal_exterior", sources[1], "Mq_Door_GBuffer_Alpha"}};
    for (size_t index = 0; index < std::size(clones); ++index)
    {
        const Material& clone = *m_pMesh->m_apMaterials[3 + index];
        EXPECT_EQ(clone.m_strName, clones[index].m_szName);
        EXPECT_NE(clone.m_XRefGUID, clones[index].m_pSource->m_XRefGUID);
        EXPECT_EQ(Bindings(clone),
                  (Strings{"gbuffer:-", std::string("gbuffer_door:") + clones[index].m_szDoorShader}));
    }

    const KvProjectData_Core_Raw_RenderShapeMesh& shape = *m_pMesh->m_pRenderShape;
    EXPECT_EQ(shape.m_strName, "props\\door");
    EXPECT_TRUE(shape.m_bDontImport);
    ASSERT_EQ(shape.m_apLods.size(), 1u);
    const std::pair<uint32_t, const Material*> layers[] = {{2, pStencil.get()},
                                                           {2, pCull.get()},
                                                           {0, m_pMesh->m_apMaterials[3]},
                                                           {1, m_pMesh->m_apMaterials[4]},
                                                           {1, m_pMesh->m_apMaterials[5]}};
    ASSERT_EQ(shape.m_apLods[0]->m_apLayers.size(), std::size(layers));
    for (size_t index = 0; index < std::size(layers); ++index)
    {
        const KvProjectData_Core_Raw_RenderShapeMeshLayer& layer = *shape.m_apLods[0]->m_apLayers[index];
        EXPECT_EQ(layer.m_pMesh, m_pMesh.get());
        EXPECT_EQ(layer.m_ulSubMeshIndex, layers[index].first);
        EXPECT_EQ(layer.m_pMaterial, layers[index].second);
    }

    const KvJsonStore::Json decal = Saved(*m_pMesh);
    actions[7]->Undo();
    EXPECT_EQ(Saved(*m_pMesh), decal);
}

TEST_F(MeshRendering, MeshDecal_FewerThanThreeMaterials_NothingChanges)
{
    AddMaterial(*m_pMesh, "Wall", {"gbuffer:A"});
    AddMaterial(*m_pMesh, "Wall_Alpha", {});
    const KvJsonStore::Json original = Saved(*m_pMesh);
    Decal("decal", m_pMesh.get()).Do();
    EXPECT_EQ(Saved(*m_pMesh), original);
    EXPECT_EQ(m_pMesh->m_pRenderShape, nullptr);
}

// What the type manager makes has no mesh: named "Undefined", and Do and Undo change nothing.
TEST(MeshRenderingActions, MadeByTheTypeManager_UndefinedAndHarmless)
{
    for (KvTypeInfo* pType : {Override::GetType(), Revert::GetType(), Decal::GetType()})
    {
        SCOPED_TRACE(pType->m_strName);
        EXPECT_EQ(pType->m_pParent->m_strName, "KvReflectedObjectAction");
        const KvSmartPtr<KvNativeAction> action = static_cast<KvNativeAction*>(pType->CreateInstance());
        EXPECT_EQ(action->GetName(), "Undefined");
        action->Do();
        action->Undo();
        std::vector<void*> memory;
        action->GetChangedMemory(memory);
        EXPECT_TRUE(memory.empty());
    }
}
