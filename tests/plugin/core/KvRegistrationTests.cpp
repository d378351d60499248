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

// Their names and the exported material importer are what `kvres types` lists (kvres_core_test).
TEST(Registration, UnregisteredTypesAreReportedInOrder)
{
    const KvResourceDescriptor* pPhysics = KvResourcePlugin_Core_PhysicsCollection::GetStaticDescriptor();
    EXPECT_EQ(PluginHost().GetUnregisteredDescriptors(),
              (std::vector<const KvResourceDescriptor*>{pPhysics,
                                                        KvResourcePlugin_Core_Video::GetStaticDescriptor()}));
    EXPECT_TRUE(pPhysics->GetQuery3());
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
