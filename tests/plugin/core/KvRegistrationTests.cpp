#include "TypeManager/KvTypeManager.h"
#include "host/KvResourceHost.h"
#include "resources/KvResourceDescriptor.h"
#include "support/KvPluginHost.h"
#include "support/KvTestData.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

// Each registered type in table order, with its type name, short name, whether it has a payload,
// its fourth and fifth queries, its load order and whether it is cooked; every type has the
// integer query 2 and a resource class.
TEST(Registration, TypesInTableOrder)
{
    const std::vector<const KvResourceDescriptor*>& descriptors =
        PluginHost().GetDescriptors().GetDescriptors();
    const auto table = TestDataTable("registration/descriptors.json", "registered");
    ASSERT_EQ(descriptors.size(), table.size());
    for (size_t index = 0; index < table.size(); ++index)
    {
        const KvResourceDescriptor& descriptor = *descriptors[index];
        EXPECT_EQ(table[index], nlohmann::ordered_json::array(
                                    {descriptor.GetTypeName(), descriptor.GetShortName(),
                                     descriptor.GetPayloadDataType() != nullptr, descriptor.GetQuery4(),
                                     descriptor.GetQuery5(), descriptor.GetLoadOrder(),
                                     PluginHost().GetCookers().FindByResourceType(&descriptor) != nullptr}));
        EXPECT_EQ(descriptor.GetIntegerQuery(), 2u) << descriptor.GetTypeName();
        ASSERT_NE(descriptor.GetResourceClass(), nullptr);
        EXPECT_EQ(descriptor.GetResourceClass()->m_pParent->m_strName, "KvResource");
    }
}

// The importers in registration order: where several take one extension, the first that
// recognises a source imports it.
TEST(Registration, ImportersInTableOrder)
{
    nlohmann::ordered_json importers = nlohmann::ordered_json::array();
    for (const KvResourceImporter* pImporter : PluginHost().GetImporters().GetImporters())
        importers.push_back({pImporter->GetExtension(), pImporter->GetResourceType()->GetTypeName()});
    EXPECT_EQ(importers, TestDataTable("registration/descriptors.json", "importers"));
}

TEST(Registration, UnregisteredTypesExistWithTheirNamesAndAreReported)
{
    const KvResourceDescriptor* pVideo = KvResourcePlugin_Core_Video::GetStaticDescriptor();
    const KvResourceDescriptor* pPhysics = KvResourcePlugin_Core_PhysicsCollection::GetStaticDescriptor();
    EXPECT_EQ(PluginHost().GetUnregisteredDescriptors(),
              (std::vector<const KvResourceDescriptor*>{pPhysics, pVideo}));
    EXPECT_STREQ(pVideo->GetTypeName(), "Rendering_Texture");
    EXPECT_STREQ(pVideo->GetShortName(), "texture");
    EXPECT_EQ(pVideo->GetRootDataType()->GetName(), "KvProjectData_Core_Raw_Video");
    EXPECT_STREQ(pPhysics->GetShortName(), "physics");
    EXPECT_TRUE(pPhysics->GetQuery3());
    // The material importer is exported, not registered: it updates meshes of the files it
    // recognises and is not one of the nine.
    const std::vector<KvResourceImporter*> exported = PluginHost().GetUnregisteredImporters().GetImporters();
    ASSERT_EQ(exported.size(), 1u);
    EXPECT_STREQ(exported[0]->GetExtension(), "xml");
    EXPECT_EQ(exported[0]->GetResourceType(), KvResourcePlugin_Core_Mesh::GetStaticDescriptor());
    EXPECT_EQ(
        PluginHost().GetImporters().FindByResourceType(KvResourcePlugin_Core_Mesh::GetStaticDescriptor()),
        std::vector<KvResourceImporter*>{});
}

TEST(Registration, InitializingTwiceKeepsDescriptorsAndDeclaresOnce)
{
    KvResourceHost host;
    KvResourcePlugin_Core plugin;
    const size_t typesBefore = KvReflectionInterface::GetInstance()->GetTypes().size();
    plugin.InitializeReferences(host.GetInitContext());
    const size_t typesAfterFirst = KvReflectionInterface::GetInstance()->GetTypes().size();
    plugin.InitializeReferences(host.GetInitContext());
    EXPECT_EQ(KvReflectionInterface::GetInstance()->GetTypes().size(), typesAfterFirst);
    EXPECT_GE(typesAfterFirst, typesBefore);
    EXPECT_EQ(host.GetDescriptors().GetDescriptors(), PluginHost().GetDescriptors().GetDescriptors());
    EXPECT_NE(KvReflectionInterface::GetInstance()->FindType("KvProjectData_Core_Raw_EditorEntry"), nullptr);
    EXPECT_NE(KvReflectionInterface::GetInstance()->FindType("KvProjectData_Core_Raw_EditorCollection"),
              nullptr);
}
