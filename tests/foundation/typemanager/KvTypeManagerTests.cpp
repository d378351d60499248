#include "TypeManager/KvObjectFactory.h"
#include "TypeManager/KvTypeManager.h"
#include "support/KvTestReports.h"
#include "testaccess/KvFoundationTestAccess.h"

#include <gtest/gtest.h>

namespace
{
constexpr const char* kManagerFile = "TypeManager\\KvTypeManagerImpl";
constexpr const char* kInfoFile = "TypeManager\\KvTypeInfo";
constexpr const char* kHierarchyMessage = "Invalid class hierarchy.\nThis typically happens when a child "
                                          "class has an invalid (or no )parent specified as "
                                          "the parent class type\nCheck the class hierarchy and make sure "
                                          "that each class in the list has been registered "
                                          "correctly";

KvTypedObject* CreateNothing()
{
    return nullptr;
}

class KvTestBase : public KvTypedObject
{
    KV_DECLARE_TYPED_CLASS(KvTestBase, KvTypedObject)

public:
    virtual int Kind() const = 0;
};

class KvTestDerived : public KvTestBase
{
    KV_DECLARE_TYPED_CLASS(KvTestDerived, KvTestBase)

public:
    int Kind() const override { return 7; }
};

// A registry apart from the process's, and a short way to register in it.
class TypeRegistry : public ::testing::Test
{
protected:
    KvTypeInfo* Register(const char* name, const char* parent, bool bAbstract = false, uint32_t size = 8)
    {
        return m_Manager.RegisterTemplate(&m_iFactory, bAbstract, name, parent,
                                          bAbstract ? nullptr : &CreateNothing, size, 0, 0);
    }

    KvTypeManagerImpl m_Registry;
    KvTypeManager& m_Manager = m_Registry;
    int m_iFactory = 0;
};
} // namespace

KV_IMPLEMENT_TYPED_CLASS(KvTestBase)
KV_IMPLEMENT_TYPED_CLASS(KvTestDerived)

TEST(TypeManager, Factories_RegisterAtStartup)
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    KvTypeInfo* pDerived = pManager->FindType("KvTestDerived");
    ASSERT_NE(pDerived, nullptr);
    EXPECT_EQ(pDerived, KvTestDerived::GetType());
    EXPECT_EQ(pDerived->m_pParent, KvTestBase::GetType());
    EXPECT_TRUE(KvTestBase::GetType()->m_bAbstract);
    EXPECT_EQ(KvTestBase::GetType()->CreateInstance(), nullptr);
    EXPECT_EQ(pDerived->m_uiObjectSize, sizeof(KvTestDerived));

    KvTypedObject* pObject = pDerived->CreateInstance();
    ASSERT_NE(pObject, nullptr);
    EXPECT_EQ(pObject->GetClassType(), pDerived);
    EXPECT_EQ(static_cast<KvTestBase*>(pObject)->Kind(), 7);
    delete pObject;
}

TEST_F(TypeRegistry, UnknownParent_PlaceholderGetsTheLowerIndex)
{
    KvTypeManager* pManager = &m_Manager;
    const uint32_t count = pManager->GetTypeCount();
    EXPECT_EQ(count, 1u);
    KvTypeInfo* pChild = Register("KvTestChildFirst", "KvTestParentLater");
    EXPECT_EQ(pManager->GetTypeIndex("KvTestParentLater"), count);
    EXPECT_EQ(pChild->m_uiIndex, count + 1);
    KvTypeInfo* pPlaceholder = pManager->FindType("KvTestParentLater");
    EXPECT_EQ(pChild->m_pParent, pPlaceholder);
    EXPECT_EQ(pPlaceholder->m_pFactory, nullptr);
    EXPECT_EQ(pPlaceholder->m_pParent, nullptr);

    // The parent's own registration fills the placeholder and keeps its index.
    KvTypeInfo* pParent = pManager->RegisterTemplate(&m_iFactory, true, "KvTestParentLater", "KvTypedObject",
                                                     nullptr, 16, 5, 6);
    EXPECT_EQ(pParent, pPlaceholder);
    EXPECT_EQ(pParent->m_uiIndex, count);
    EXPECT_EQ(pParent->m_ulExtra64, 5u);
    EXPECT_EQ(pParent->m_uiExtra32, 6u);
    EXPECT_EQ(pManager->GetTypeCount(), count + 2);
}

TEST_F(TypeRegistry, RegisterTwice_KeepsIndexOverwritesData)
{
    KvTypeInfo* pBase = Register("KvTestBase", "KvTypedObject", true);
    KvTypeInfo* pFirst = Register("KvTestTwice", "KvTypedObject");
    const uint32_t index = pFirst->m_uiIndex;
    KvTypeInfo* pSecond = Register("KvTestTwice", "KvTestBase", true, 32);
    EXPECT_EQ(pSecond, pFirst);
    EXPECT_EQ(pSecond->m_uiIndex, index);
    EXPECT_EQ(pSecond->m_uiObjectSize, 32u);
    EXPECT_EQ(pSecond->m_pParent, pBase);
}

TEST(TypeManager, Lookups_UnknownAndNullNames)
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    EXPECT_EQ(pManager->FindType("KvNoSuchClass"), nullptr);
    EXPECT_EQ(pManager->FindType(nullptr), nullptr);
    EXPECT_EQ(pManager->GetTypeIndex("KvNoSuchClass"), 0xFFFFFFFFu);
    // Names are compared byte for byte.
    EXPECT_EQ(pManager->FindType("kvtypedobject"), nullptr);
    EXPECT_EQ(pManager->GetTypeByIndex(0)->m_strName, "KvTypedObject");
}

TEST_F(TypeRegistry, DerivedTypes_OfTheRootSkipPlaceholders)
{
    KvTypeManager* pManager = &m_Manager;
    Register("KvTestOrphan", "KvTestNeverRegistered");
    Register("KvTestLeaf", "KvTestMiddle");
    Register("KvTestMiddle", "KvTypedObject", true);
    Register("KvTestSibling", "KvTypedObject");

    std::vector<KvTypeInfo*> derived;
    pManager->GetDerivedTypes(pManager->GetTypeByIndex(0), derived);
    std::vector<std::string> names;
    for (KvTypeInfo* pType : derived)
        names.push_back(pType->m_strName);
    // In index order: the middle class was entered as the leaf's parent before the leaf.
    EXPECT_THAT(names, ::testing::ElementsAre("KvTestMiddle", "KvTestLeaf", "KvTestSibling"));
}

TEST(TypeManager, DerivedTypeNames_IncludeTheTypeItself)
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    std::vector<std::string> names;
    const uint32_t count = pManager->GetDerivedTypeNames(KvTestBase::GetType()->m_uiIndex, names);
    EXPECT_EQ(count, pManager->GetTypeCount());
    EXPECT_THAT(names, ::testing::ElementsAre("KvTestBase", "KvTestDerived"));

    names.clear();
    pManager->GetDerivedTypeNames(0, names);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], "KvTypedObject");

    EXPECT_TRUE(pManager->IsOrDerivesFrom(KvTestDerived::GetType(), KvTestBase::GetType()->m_uiIndex));
    EXPECT_TRUE(pManager->IsOrDerivesFrom(KvTestBase::GetType(), KvTestBase::GetType()->m_uiIndex));
    EXPECT_FALSE(pManager->IsOrDerivesFrom(KvTestBase::GetType(), KvTestDerived::GetType()->m_uiIndex));
    EXPECT_FALSE(pManager->IsOrDerivesFrom(nullptr, 0));
}

TEST_F(TypeRegistry, OwnAncestor_WalksStayBounded)
{
    KvTypeManager* pManager = &m_Manager;
    Register("KvTestLoopA", "KvTestLoopB");
    Register("KvTestLoopB", "KvTestLoopA");
    std::vector<std::string> names;
    pManager->GetDerivedTypeNames(0, names);
    EXPECT_THAT(names, ::testing::Not(::testing::Contains("KvTestLoopA")));
    const KvTypeInfo* pLoop = pManager->FindType("KvTestLoopA");
    EXPECT_FALSE(pManager->IsOrDerivesFrom(pLoop, 0));
    EXPECT_TRUE(pManager->IsOrDerivesFrom(pLoop, pManager->FindType("KvTestLoopB")->m_uiIndex));
}

TEST(TypeManager, Validate_ProcessRegistryPasses)
{
    auto* pManager = static_cast<KvTypeManagerImpl*>(KvTypeManager::GetInstance());
    EXPECT_EQ(pManager->Validate(), pManager->GetTypeCount());
    EXPECT_TRUE(pManager->IsValidated());
}

TEST_F(TypeRegistry, Validate_ParentNeverRegistered_Fatal)
{
    Register("KvTestLost", "KvTestLostParent");
    EXPECT_FALSE(m_Registry.IsValidated());
    EXPECT_FATAL(m_Registry.Validate(), kInfoFile, "KvTypeInfo::Validate", 46, kHierarchyMessage);
}

TEST_F(TypeRegistry, RegisterTemplate_MissingArguments_Fatal)
{
    KvTypeManager* pManager = &m_Manager;
    int factory = 0;
    EXPECT_FATAL(pManager->RegisterTemplate(nullptr, false, "A", "B", nullptr, 0, 0, 0), kManagerFile,
                 "KvTypeManagerImpl::RegisterTemplate", 48, "No factory object specified!");
    EXPECT_FATAL(pManager->RegisterTemplate(&factory, false, nullptr, "B", nullptr, 0, 0, 0), kManagerFile,
                 "KvTypeManagerImpl::RegisterTemplate", 49, "No name specified for the class type");
    EXPECT_FATAL(pManager->RegisterTemplate(&factory, false, "A", nullptr, nullptr, 0, 0, 0), kManagerFile,
                 "KvTypeManagerImpl::RegisterTemplate", 50, "No name specified for the parent class type");
}

TEST(TypeInfo, Validate_EachRuleInOrder)
{
    KvTypeInfo parent("KvTestParentRecord", 1);

    KvTypeInfo root("", 0);
    EXPECT_TRUE(root.Validate());

    KvTypeInfo unnamed("", 5);
    EXPECT_FATAL(unnamed.Validate(), kInfoFile, "KvTypeInfo::Validate", 42,
                 "Empty name specified for the factory type");

    KvTypeInfo unassigned("KvTestUnassigned", KvTypeInfo::kInvalidIndex);
    EXPECT_FATAL(unassigned.Validate(), kInfoFile, "KvTypeInfo::Validate", 43,
                 "Type index was never registered with the factory manager");

    KvTypeInfo orphan("KvTestOrphanRecord", 5);
    EXPECT_FATAL(orphan.Validate(), kInfoFile, "KvTypeInfo::Validate", 46, kHierarchyMessage);

    KvTypeInfo abstractType("KvTestAbstractRecord", 5);
    abstractType.m_pParent = &parent;
    abstractType.m_bAbstract = true;
    EXPECT_TRUE(abstractType.Validate());

    KvTypeInfo noCreate("KvTestNoCreate", 5);
    noCreate.m_pParent = &parent;
    EXPECT_FATAL(noCreate.Validate(), kInfoFile, "KvTypeInfo::Validate", 52,
                 "Non-abstract type doesn't have a valid factory method");

    KvTypeInfo noFactory("KvTestNoFactory", 5);
    noFactory.m_pParent = &parent;
    noFactory.m_pfnCreate = &CreateNothing;
    EXPECT_FATAL(noFactory.Validate(), kInfoFile, "KvTypeInfo::Validate", 53,
                 "Non-abstract type doesn't have a valid factory object");

    noFactory.m_pFactory = &parent;
    EXPECT_TRUE(noFactory.Validate());
}
