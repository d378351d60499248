#include "support/KvTestModel.h"

#include "reflection/KvReflectedDataTypeBuilder.h"
#include "reflection/KvReflectionInterface.h"

namespace
{
// The record of T, declared on the first call: the record is set before the members are declared,
// so that members may point back at it.
template <class T, template <class> class Constructor, class Declare>
const KvReflectedDataType* DeclareOnce(const KvReflectedDataType*& rType, const char* name, Declare declare)
{
    if (rType)
        return rType;
    KvReflectedDataTypeBuilder builder(name, sizeof(T), new Constructor<T>());
    rType = builder.GetConstructedType();
    if (!builder.IsSealed())
    {
        declare(builder);
        builder.SealDeclaration();
    }
    return rType;
}
} // namespace

const KvEnumConverter<eTestShape> g_Converter_TestShape("eTestShape", SHAPE_COUNT,
                                                        {{SHAPE_SPHERE, "SHAPE_SPHERE"},
                                                         {SHAPE_CAPSULE, "SHAPE_CAPSULE"}});

const KvReflectedDataType* KvTestRecord::GetReflectedDataType()
{
    static const KvReflectedDataType* s_pType = nullptr;
    return DeclareOnce<KvTestRecord, ObjectConstructor>(
        s_pType, "KvTestRecord",
        [](KvReflectedDataTypeBuilder& builder)
        {
            builder.AddMember("m_fWeight", &KvTestRecord::m_fWeight);
            builder.AddMember("m_strTag", &KvTestRecord::m_strTag);
            builder.AddAttributeMember("m_strTag", new KvAttribute_DisplayNameFromMember("Tag: %s"));
        });
}

KvTestTarget::KvTestTarget() : m_XRefGUID(KvGuid::GenerateNew())
{
    KvReflectionInterface::GetInstance()->RegisterLiveObject(GetReflectedDataType(), this);
}

KvTestTarget::KvTestTarget(const KvTestTarget& other)
    : m_strName(other.m_strName), m_XRefGUID(other.m_XRefGUID), m_ulLocalIndex(other.m_ulLocalIndex)
{
    KvReflectionInterface::GetInstance()->RegisterLiveObject(GetReflectedDataType(), this);
}

KvTestTarget::~KvTestTarget()
{
    KvReflectionInterface::GetInstance()->UnregisterLiveObject(GetReflectedDataType(), this);
}

const KvReflectedDataType* KvTestTarget::GetReflectedDataType()
{
    static const KvReflectedDataType* s_pType = nullptr;
    return DeclareOnce<KvTestTarget, ObjectConstructor>(
        s_pType, "KvTestTarget",
        [](KvReflectedDataTypeBuilder& builder)
        {
            builder.AddMember("m_strName", &KvTestTarget::m_strName);
            builder.AddAttributeMember("m_strName", new KvAttribute_XRefKey());
            builder.AddMember("m_XRefGUID", &KvTestTarget::m_XRefGUID);
            builder.AddAttributeMember("m_XRefGUID", new KvAttribute_XRefKey());
            builder.AddMember("m_ulLocalIndex", &KvTestTarget::m_ulLocalIndex);
            builder.AddAttributeMember("m_ulLocalIndex", new KvAttribute_NoSerialize());
        });
}

const KvReflectedDataType* KvTestPayload::GetReflectedDataType()
{
    static const KvReflectedDataType* s_pType = nullptr;
    return DeclareOnce<KvTestPayload, ObjectConstructor>(
        s_pType, "KvTestPayload",
        [](KvReflectedDataTypeBuilder& builder)
        {
            builder.AddMember("m_slValue", &KvTestPayload::m_slValue);
            builder.AddMemberArray("m_aPoints", &KvTestPayload::m_aPoints);
        });
}

KvTestNode::~KvTestNode()
{
    delete m_pChild;
    for (KvTestNode* pChild : m_apChildren)
        delete pChild;
}

void KvTestNode::PostDeserialize()
{
    ++m_iPostDeserializeCount;
    for (KvTestNode* pChild : m_apChildren)
        pChild->m_pParent = this;
}

const KvReflectedDataType* KvTestNode::GetReflectedDataType()
{
    static const KvReflectedDataType* s_pType = nullptr;
    return DeclareOnce<KvTestNode, ObjectConstructorWithPost>(
        s_pType, "KvTestNode",
        [](KvReflectedDataTypeBuilder& builder)
        {
            KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
            builder.AddAttributeType(new KvAttribute_DisplayName("Node"));
            builder.AddMember("m_strName", &KvTestNode::m_strName);
            builder.AddAttributeMember("m_strName", new KvAttribute_DisplayNameFromMember("Node %s"));
            builder.AddMember("m_bFlag", &KvTestNode::m_bFlag);
            builder.AddMember("m_ucByte", &KvTestNode::m_ucByte);
            builder.AddMember("m_ulCount", &KvTestNode::m_ulCount);
            builder.AddMember("m_slOffset", &KvTestNode::m_slOffset);
            builder.AddMember("m_fScale", &KvTestNode::m_fScale);
            builder.AddMember("m_Guid", &KvTestNode::m_Guid);
            builder.AddMember("m_vUV", &KvTestNode::m_vUV);
            builder.AddMember("m_vPosition", &KvTestNode::m_vPosition);
            builder.AddMember("m_vPlane", &KvTestNode::m_vPlane);
            builder.AddMember("m_quatRotation", &KvTestNode::m_quatRotation);
            builder.AddMember("m_colTint", &KvTestNode::m_colTint);
            builder.AddMember("m_pRunResource", &KvTestNode::m_pRunResource);
            builder.AddAttributeMember("m_pRunResource", new KvAttribute_SetResourceHandle());
            builder.AddMember("m_eShape", &KvTestNode::m_eShape, PRIMITIVE_ENUM, &g_Converter_TestShape);
            builder.AddMember("m_eRawKind", &KvTestNode::m_eRawKind, PRIMITIVE_ENUM,
                              static_cast<const KvEnumConverterBase*>(nullptr));
            builder.AddMember("m_Record", &KvTestNode::m_Record, PRIMITIVE_STRUCT,
                              KvTestRecord::GetReflectedDataType());
            builder.AddMemberArray("m_aIds", &KvTestNode::m_aIds);
            builder.AddMemberArray("m_aNames", &KvTestNode::m_aNames);
            builder.AddMemberArray("m_acBytes", &KvTestNode::m_acBytes);
            builder.AddMemberArrayValue("m_aRecords", &KvTestNode::m_aRecords, PRIMITIVE_STRUCT,
                                        KvTestRecord::GetReflectedDataType());
            builder.AddMemberPointer("m_pChild", &KvTestNode::m_pChild, s_pType);
            builder.AddMemberArrayPointer("m_apChildren", &KvTestNode::m_apChildren, s_pType);
            builder.AddMemberPointer("m_pParent", &KvTestNode::m_pParent, s_pType);
            builder.AddAttributeMember("m_pParent", new KvAttribute_MemberDataNotOwned());
            builder.AddMemberPointer("m_pTarget", &KvTestNode::m_pTarget,
                                     KvTestTarget::GetReflectedDataType());
            builder.AddAttributeMember("m_pTarget", new KvAttribute_XRef());
            builder.AddAttributeMember("m_pTarget",
                                       new KvAttribute_ColumnDropDownEditor("m_strName", "", "", true));
            builder.AddMemberArrayPointer("m_apTargets", &KvTestNode::m_apTargets,
                                          KvTestTarget::GetReflectedDataType());
            builder.AddAttributeMember("m_apTargets", new KvAttribute_XRef());
            builder.AddMemberPointer("m_pDataType", &KvTestNode::m_pDataType, pRegistry->GetTypeRecordType());
            builder.AddMemberDynamicRefTypePointer("m_pData", "m_pDataType", &KvTestNode::m_pData);
            builder.AddMember("m_ulRuntimeOnly", &KvTestNode::m_ulRuntimeOnly);
            builder.AddAttributeMember("m_ulRuntimeOnly", new KvAttribute_NoSerialize());
        });
}

KvTestHolder::KvTestHolder() : m_pRecord(new KvTestRecord()), m_pMadeRecord(m_pRecord) {}

KvTestHolder::~KvTestHolder()
{
    delete m_pRecord;
}

const KvReflectedDataType* KvTestHolder::GetReflectedDataType()
{
    static const KvReflectedDataType* s_pType = nullptr;
    return DeclareOnce<KvTestHolder, ObjectConstructor>(s_pType, "KvTestHolder",
                                                        [](KvReflectedDataTypeBuilder& builder) {
                                                            builder.AddMemberPointer(
                                                                "m_pRecord", &KvTestHolder::m_pRecord,
                                                                KvTestRecord::GetReflectedDataType());
                                                        });
}
