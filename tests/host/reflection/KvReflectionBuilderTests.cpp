#include "model/KvTestModel.h"
#include "reflection/KvReflectedDataTypeBuilder.h"
#include "reflection/KvReflectionInterface.h"
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

TEST(ReflectionBuilder, DeclaringTwiceYieldsOneRecord)
{
    const KvReflectedDataType* pFirst = KvTestNode::GetReflectedDataType();
    EXPECT_EQ(KvTestNode::GetReflectedDataType(), pFirst);
    EXPECT_EQ(KvReflectionInterface::GetInstance()->FindType("KvTestNode"), pFirst);
    EXPECT_TRUE(pFirst->IsSealed());
    // The node points to its own type: the record under construction.
    EXPECT_EQ(pFirst->GetMember(pFirst->FindMember("m_pChild"))->GetPointeeType(), pFirst);
    EXPECT_EQ(pFirst->FindMember("m_eShape"), 13);
    EXPECT_EQ(pFirst->FindMember("no_such_member"), -1);
}

TEST(ReflectionBuilder, SealedNameAddsNothingAndDropsTheConstructor)
{
    const KvReflectedDataType* pNode = KvTestNode::GetReflectedDataType();
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

TEST(ReflectionBuilder, ForwardDeclarationIsCompletedInPlace)
{
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    const KvReflectedDataType* pForward = nullptr;
    {
        KvReflectedDataTypeBuilder forward("KvTestForward", 0, nullptr);
        pForward = forward.GetConstructedType();
        pRegistry->RegisterType(forward.GetConstructedType());
    }
    EXPECT_FALSE(pForward->IsSealed());
    EXPECT_EQ(pForward->GetObjectConstructor(), nullptr);
    EXPECT_EQ(pRegistry->CreateObject("KvTestForward"), nullptr);

    KvReflectedDataTypeBuilder real("KvTestForward", sizeof(KvTestSmall),
                                    new ObjectConstructor<KvTestSmall>());
    EXPECT_EQ(real.GetConstructedType(), pForward);
    real.AddMember("m_slA", &KvTestSmall::m_slA);
    real.AddMember("m_slB", &KvTestSmall::m_slB);
    real.SealDeclaration();
    pRegistry->RegisterType(real.GetConstructedType());
    EXPECT_TRUE(pForward->IsSealed());
    ASSERT_EQ(pForward->GetMemberCount(), 2u);
    EXPECT_EQ(pForward->GetMember(1)->GetOffset(), sizeof(int32_t));
    EXPECT_EQ(pForward->GetSize(), sizeof(KvTestSmall));
    void* pObject = pRegistry->CreateObject("KvTestForward");
    ASSERT_NE(pObject, nullptr);
    pRegistry->DestroyObject(pForward, pObject);
}

TEST(ReflectionBuilder, MembersRecordKindsOffsetsAndAttributes)
{
    const KvReflectedDataType* pNode = KvTestNode::GetReflectedDataType();
    const KvReflectedPrimitive* pPosition = pNode->GetMember(pNode->FindMember("m_vPosition"));
    EXPECT_EQ(pPosition->GetKind(), PRIMITIVE_VALUE);
    EXPECT_EQ(pPosition->GetValueType(), VALUE_VECTOR3);
    EXPECT_EQ(pPosition->GetWidth(), sizeof(KvVector3));
    KvTestNode node;
    node.m_vPosition = {1, 2, 3};
    EXPECT_EQ(*static_cast<const KvVector3*>(pPosition->GetAddress(&node)), node.m_vPosition);

    const KvReflectedPrimitive* pTarget = pNode->GetMember(pNode->FindMember("m_pTarget"));
    EXPECT_FALSE(pTarget->IsOwningPointer());
    // A type record is shared, never freed, copied or saved as an object.
    const KvReflectedPrimitive* pDataType = pNode->GetMember(pNode->FindMember("m_pDataType"));
    EXPECT_TRUE(pDataType->IsTypeRecordPointer());
    EXPECT_FALSE(pDataType->IsOwningPointer());
    ASSERT_EQ(pTarget->GetAttributes().size(), 2u);
    EXPECT_STREQ(pTarget->GetAttributes()[1]->GetName(), "ColumnDropDownEditor");
    EXPECT_EQ(pTarget->GetAttributes()[1]->GetArguments().size(), 4u);

    const KvReflectedPrimitive* pRecords = pNode->GetMember(pNode->FindMember("m_aRecords"));
    EXPECT_EQ(pRecords->GetKind(), PRIMITIVE_ARRAY_STRUCT);
    EXPECT_EQ(pRecords->GetElementType(), KvTestRecord::GetReflectedDataType());

    const KvReflectedPrimitive* pShape = pNode->GetMember(pNode->FindMember("m_eShape"));
    EXPECT_EQ(pShape->GetKind(), PRIMITIVE_ENUM);
    // Whichever module declared the type first supplied its converter.
    ASSERT_NE(pShape->GetEnumConverter(), nullptr);
    EXPECT_STREQ(pShape->GetEnumConverter()->ToString(SHAPE_CAPSULE), "SHAPE_CAPSULE");
}

TEST(ReflectionBuilder, AttributeOnUnknownMember_LoggedAndDropped)
{
    RecordingLog log;
    KvReflectedDataTypeBuilder builder("KvTestAttributeTarget", sizeof(KvTestSmall),
                                       new ObjectConstructor<KvTestSmall>());
    builder.AddMember("m_slA", &KvTestSmall::m_slA);
    builder.AddAttributeMember("m_slMissing", new KvAttribute_ReadOnly());
    builder.AddMember("m_slA", &KvTestSmall::m_slB);
    builder.SealDeclaration();
    EXPECT_EQ(builder.GetConstructedType()->GetMemberCount(), 1u);
    ASSERT_EQ(log.m_aEntries.size(), 2u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ::testing::HasSubstr(
                    "Attribute 'ReadOnly' names no member 'm_slMissing' of 'KvTestAttributeTarget'"));
    EXPECT_THAT(log.m_aEntries[1].m_strMessage,
                ::testing::HasSubstr("Member 'm_slA' of 'KvTestAttributeTarget' is "
                                     "declared twice"));
}

TEST(ReflectionBuilder, ArrayOfTypeRecords_LoggedAndDropped)
{
    struct KvTestTypeList
    {
        std::vector<const KvReflectedDataType*> m_apTypes;
    };
    RecordingLog log;
    KvReflectedDataTypeBuilder builder("KvTestTypeList", sizeof(KvTestTypeList),
                                       new ObjectConstructor<KvTestTypeList>());
    builder.AddMemberArrayPointer("m_apTypes", &KvTestTypeList::m_apTypes,
                                  KvReflectionInterface::GetInstance()->GetTypeRecordType());
    EXPECT_EQ(builder.GetConstructedType()->GetMemberCount(), 0u);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ::testing::HasSubstr("Member 'm_apTypes' of 'KvTestTypeList' is an array of type records"));
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
