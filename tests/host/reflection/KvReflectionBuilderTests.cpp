#include "reflection/KvReflectedDataTypeBuilder.h"
#include "reflection/KvReflectionInterface.h"
#include "support/KvTestModel.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

namespace
{
struct KvTestSmall
{
    int32_t m_slA = 0;
    int32_t m_slB = 0;
};

int s_iConstructorsDestroyed = 0;

// Counts its destructions, to prove a builder deletes what it does not use.
class CountingConstructor : public ObjectConstructor<KvTestSmall>
{
public:
    ~CountingConstructor() override { ++s_iConstructorsDestroyed; }
};
} // namespace

// A type is declared once: a later builder of the sealed name adds nothing and drops the
// constructor it was given. The node points to its own type, the record under construction.
TEST(ReflectionBuilder, SealedNameAddsNothingAndDropsTheConstructor)
{
    const KvReflectedDataType* pNode = KvTestNode::GetReflectedDataType();
    EXPECT_EQ(KvReflectionInterface::GetInstance()->FindType("KvTestNode"), pNode);
    EXPECT_EQ(pNode->GetMember(pNode->FindMember("m_pChild"))->GetPointeeType(), pNode);
    EXPECT_EQ(pNode->FindMember("no_such_member"), -1);
    const uint32_t memberCount = pNode->GetMemberCount();
    const KvReflectedObjectConstructor* pConstructor = pNode->GetObjectConstructor();

    s_iConstructorsDestroyed = 0;
    KvReflectedDataTypeBuilder again("KvTestNode", 4, new CountingConstructor());
    EXPECT_TRUE(again.IsSealed());
    EXPECT_EQ(again.GetConstructedType(), pNode);
    EXPECT_EQ(s_iConstructorsDestroyed, 1);
    again.AddMember("m_slExtra", &KvTestSmall::m_slA);
    again.AddAttributeType(new KvAttribute_ReadOnly());
    again.SetEditorPreview([](const void*, const KvVector3&, bool) {});
    EXPECT_EQ(pNode->GetMemberCount(), memberCount);
    EXPECT_EQ(pNode->GetEditorPreview(), nullptr);
    EXPECT_EQ(pNode->GetObjectConstructor(), pConstructor);
    EXPECT_EQ(pNode->GetSize(), sizeof(KvTestNode));
}

// Its declaration completes the record in place, which the plug-in's schemas rely on and its
// tests check; until then nothing of the type can be made.
TEST(ReflectionBuilder, ForwardDeclaration_MakesNothing)
{
    KvReflectedDataTypeBuilder forward("KvTestForward", 0, nullptr);
    KvReflectionInterface::GetInstance()->RegisterType(forward.GetConstructedType());
    EXPECT_FALSE(forward.GetConstructedType()->IsSealed());
    EXPECT_EQ(KvReflectionInterface::GetInstance()->CreateObject("KvTestForward"), nullptr);
}

// An attribute of no member, a member declared twice and an array of type records are logged and
// dropped; the rest of the declaration stands.
TEST(ReflectionBuilder, BadDeclarations_LoggedAndDropped)
{
    struct KvTestTypeList
    {
        std::vector<const KvReflectedDataType*> m_apTypes;
    };
    RecordingLog log;
    KvReflectedDataTypeBuilder builder("KvTestAttributeTarget", sizeof(KvTestSmall),
                                       new ObjectConstructor<KvTestSmall>());
    builder.AddMember("m_slA", &KvTestSmall::m_slA);
    builder.AddAttributeMember("m_slMissing", new KvAttribute_ReadOnly());
    builder.AddMember("m_slA", &KvTestSmall::m_slB);
    builder.AddMemberArrayPointer("m_apTypes", &KvTestTypeList::m_apTypes,
                                  KvReflectionInterface::GetInstance()->GetTypeRecordType());
    builder.SealDeclaration();
    EXPECT_EQ(builder.GetConstructedType()->GetMemberCount(), 1u);
    ASSERT_EQ(log.m_aEntries.size(), 3u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ::testing::HasSubstr(
                    "Attribute 'ReadOnly' names no member 'm_slMissing' of 'KvTestAttributeTarget'"));
    EXPECT_THAT(log.m_aEntries[1].m_strMessage,
                ::testing::HasSubstr("Member 'm_slA' of 'KvTestAttributeTarget' is declared twice"));
    EXPECT_THAT(
        log.m_aEntries[2].m_strMessage,
        ::testing::HasSubstr("Member 'm_apTypes' of 'KvTestAttributeTarget' is an array of type records"));
}

TEST(ReflectionBuilder, DisplayNames_DelegateMemberFormatXRefNameTypeNameOrTypeName)
{
    KvTestNode node;
    node.m_strName = "root";
    EXPECT_EQ(KvTestNode::GetReflectedDataType()->GetObjectDisplayName(&node), "Node root");
    KvTestRecord record;
    record.m_strTag = "100% %s";
    // The format is filled once; the value is never read as a format.
    EXPECT_EQ(KvTestRecord::GetReflectedDataType()->GetObjectDisplayName(&record), "Tag: 100% %s");
    KvTestPayload payload;
    EXPECT_EQ(KvTestPayload::GetReflectedDataType()->GetObjectDisplayName(&payload), "KvTestPayload");
    // Without a name format, a cross-referenced object shows its identity name; an empty one
    // would give a blank menu entry, so the type name stands in.
    KvTestTarget target;
    target.m_strName = "crate";
    EXPECT_EQ(KvTestTarget::GetReflectedDataType()->GetObjectDisplayName(&target), "crate");
    target.m_strName.clear();
    EXPECT_EQ(KvTestTarget::GetReflectedDataType()->GetObjectDisplayName(&target), "KvTestTarget");
}
