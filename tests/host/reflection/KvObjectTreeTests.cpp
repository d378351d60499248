#include "store/KvJsonStore.h"
#include "support/KvTestNodeFactory.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <gtest/gtest.h>

namespace
{
const KvReflectedDataType* NodeType()
{
    return KvTestNode::GetReflectedDataType();
}
} // namespace

TEST(ObjectTree, Clone_DeepForOwnedShallowForReferencesSharedOnce)
{
    KvTestTarget target;
    KvTestNode* pSource = NewFullNode(&target);
    auto* pClone =
        static_cast<KvTestNode*>(KvReflectionInterface::GetInstance()->CloneObject(NodeType(), pSource));
    ASSERT_NE(pClone, nullptr);
    EXPECT_NE(pClone->m_pChild, pSource->m_pChild);
    EXPECT_EQ(pClone->m_pChild->m_strName, "only child");
    EXPECT_NE(pClone->m_apChildren[0], pSource->m_apChildren[0]);
    EXPECT_NE(pClone->m_pData, pSource->m_pData);
    EXPECT_EQ(static_cast<KvTestPayload*>(pClone->m_pData)->m_slValue, 42);
    EXPECT_EQ(pClone->m_pTarget, &target);
    EXPECT_EQ(pClone->m_pDataType, pSource->m_pDataType);
    // Like a load, the copy ends with the type's post-deserialise: parent links point into the copy.
    EXPECT_EQ(pClone->m_apChildren[0]->m_pParent, pClone);
    EXPECT_EQ(pClone->m_iPostDeserializeCount, 1);
    EXPECT_EQ(pClone->m_ulRuntimeOnly, pSource->m_ulRuntimeOnly);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), pClone), KvJsonStore::Save(NodeType(), pSource));

    // Destroying the clone leaves the source intact.
    const KvJsonStore::Json before = KvJsonStore::Save(NodeType(), pSource);
    DestroyData(pClone);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), pSource), before);
    // A child the source holds twice is one child of the clone.
    DestroyData(pSource->m_apChildren[1]);
    pSource->m_apChildren[1] = pSource->m_apChildren[0];
    pClone = static_cast<KvTestNode*>(KvObjectTree::Clone(NodeType(), pSource));
    EXPECT_EQ(pClone->m_apChildren[0], pClone->m_apChildren[1]);
    EXPECT_NE(pClone->m_apChildren[0], pSource->m_apChildren[0]);
    DestroyData(pClone);
    DestroyData(pSource);
}

TEST(ObjectTree, Clone_FillsWhatTheConstructorMade)
{
    const KvReflectedDataType* pType = KvTestHolder::GetReflectedDataType();
    auto* pSource = static_cast<KvTestHolder*>(pType->GetObjectConstructor()->Create());
    pSource->m_pRecord->m_strTag = "source";
    auto* pClone = static_cast<KvTestHolder*>(KvObjectTree::Clone(pType, pSource));
    EXPECT_EQ(pClone->m_pRecord->m_strTag, "source");
    EXPECT_NE(pClone->m_pRecord, pSource->m_pRecord);
    // The clone's unsaved link still points at its own record.
    EXPECT_EQ(pClone->m_pRecord, pClone->m_pMadeRecord);
    KvObjectTree::Destroy(pType, pClone);

    // Without a source record the default one is freed (sanitizer build: nothing leaks).
    KvObjectTree::Destroy(KvTestRecord::GetReflectedDataType(), pSource->m_pRecord);
    pSource->m_pRecord = nullptr;
    auto* pEmptyClone = static_cast<KvTestHolder*>(KvObjectTree::Clone(pType, pSource));
    EXPECT_EQ(pEmptyClone->m_pRecord, nullptr);
    KvObjectTree::Destroy(pType, pEmptyClone);
    KvObjectTree::Destroy(pType, pSource);
}

TEST(ObjectTree, RetargetReferences_ReplacesOnlyReferences)
{
    KvTestTarget placeholder;
    KvTestTarget real;
    KvTestNode* pRoot = NewNamed<KvTestNode>("root");
    pRoot->m_pTarget = &placeholder;
    pRoot->m_apChildren = {NewNamed<KvTestNode>("child")};
    pRoot->m_apChildren[0]->m_apTargets = {&placeholder, &real};
    EXPECT_EQ(KvObjectTree::RetargetReferences(NodeType(), pRoot, &placeholder, &real), 2u);
    EXPECT_EQ(pRoot->m_pTarget, &real);
    EXPECT_EQ(pRoot->m_apChildren[0]->m_apTargets[0], &real);
    DestroyData(pRoot);
}

TEST(ObjectTree, MemberOfUnknownKind_Fatal)
{
    const KvReflectedPrimitive member("m_broken", static_cast<eReflectedPrimitiveType>(99), 0, 4);
    EXPECT_FATAL_FROM(KvVisitMember(member, KvMemberVisitorSkippingAll()), "reflection\\KvMemberVisitor",
                      "KvFailUnknownMemberKind", "Member 'm_broken' has the unknown kind 99");
}

// Look-ups by name and GUID and the registration order are what the plug-in's cross-references
// and menus use, and their tests check them. A placeholder looks past itself for the real object
// of its name, and types without identity members find nothing.
TEST(LiveObjects, FindByName_LooksPastTheGivenObject)
{
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    const KvReflectedDataType* pType = KvTestTarget::GetReflectedDataType();
    KvTestTarget first;
    first.m_strName = "first";
    EXPECT_EQ(pRegistry->FindLiveObjectByName(pType, "first", &first), nullptr);
    const KvTestTarget copy(first);
    EXPECT_EQ(pRegistry->FindLiveObjectByName(pType, "first", &first), &copy);
    EXPECT_EQ(pRegistry->FindLiveObjectByName(pType, nullptr), nullptr);
    EXPECT_EQ(pRegistry->FindLiveObjectByGuid(KvTestRecord::GetReflectedDataType(), first.m_XRefGUID),
              nullptr);
}

// Releasing most objects compacts the list; the survivors keep their order and an object
// registered again goes last.
TEST(LiveObjects, OrderSurvivesMassRelease)
{
    std::vector<int> objects(300);
    KvLiveObjectList list;
    for (int& object : objects)
        list.Add(&object);
    std::vector<void*> expected;
    for (size_t index = 0; index < objects.size(); ++index)
        if (index % 7 == 3)
            expected.push_back(&objects[index]);
        else
            list.Remove(&objects[index]);
    list.Remove(&objects[0]);
    list.Add(&objects[0]);
    list.Add(&objects[3]);
    expected.push_back(&objects[0]);
    std::vector<void*> live;
    list.AppendTo(live);
    EXPECT_EQ(live, expected);
    EXPECT_EQ(list.FindFirst([&](void* pObject) { return pObject > &objects[100]; }), &objects[101]);
}

TEST(LiveObjects, ChangeListenersAreTold)
{
    struct Listener : KvReflectionChangeListener
    {
        void OnObjectChanged(const KvReflectedDataType* pType, void* pObject,
                             const KvReflectedPrimitive* pMember) override
        {
            m_aChanges.emplace_back(pType, pObject, pMember);
        }
        std::vector<std::tuple<const KvReflectedDataType*, void*, const KvReflectedPrimitive*>> m_aChanges;
    } listener;
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    pRegistry->AddChangeListener(&listener);
    KvTestNode node;
    const KvReflectedPrimitive* pMember = NodeType()->GetMember(0);
    pRegistry->NotifyChanged(NodeType(), &node, pMember);
    pRegistry->RemoveChangeListener(&listener);
    pRegistry->NotifyChanged(NodeType(), nullptr, nullptr);
    ASSERT_EQ(listener.m_aChanges.size(), 1u);
    EXPECT_EQ(listener.m_aChanges[0], std::make_tuple(NodeType(), static_cast<void*>(&node), pMember));
}
