#include "model/KvTestNodeFactory.h"
#include "store/KvJsonStore.h"
#include "store/KvPlaceholderSet.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <bit>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace
{
using Json = KvJsonStore::Json;

const KvReflectedDataType* NodeType()
{
    return KvTestNode::GetReflectedDataType();
}

class JsonStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Target.m_strName = "target";
        m_pNode = NewFullNode(&m_Target);
    }
    void TearDown() override { DestroyNode(m_pNode); }

    // Loads a document expected to be refused; returns the one logged reason.
    std::string LoadFailure(const Json& document)
    {
        RecordingLog log;
        void* pObject = KvJsonStore::Load(NodeType(), document, "test.json");
        EXPECT_EQ(pObject, nullptr);
        if (pObject)
            DestroyNode(static_cast<KvTestNode*>(pObject));
        return log.m_aEntries.empty() ? "" : log.m_aEntries.back().m_strMessage;
    }

    // The node read back from the written text of its saved form, in which the member has
    // the expected JSON text; the cross-reference is saved by name only.
    KvTestNode* ReloadThroughText(const char* member, const char* expected)
    {
        const std::string text = KvJsonStore::Save(NodeType(), m_pNode, {&m_Target}).dump();
        EXPECT_THAT(text, ::testing::HasSubstr(std::string(member) + ":" + expected));
        return static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), Json::parse(text), "text.json"));
    }

    KvTestTarget m_Target;
    KvTestNode* m_pNode = nullptr;
};
} // namespace

TEST_F(JsonStore, SaveLoadSave_IdenticalText)
{
    const std::string first = KvJsonStore::Save(NodeType(), m_pNode).dump(2);
    auto* pLoaded = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), Json::parse(first), "first.json"));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), pLoaded).dump(2), first);
    DestroyNode(pLoaded);
}

// The text of a file is written as the walk goes, byte for byte as the document path wrote
// it: the golden file came from dumping the document of the same node.
TEST_F(JsonStore, SaveText_SameBytesAsTheDocumentDump)
{
    m_pNode->m_apChildren.push_back(m_pNode->m_apChildren[1]);
    m_pNode->m_strName = "Caf\xe9";
    m_pNode->m_fScale = std::bit_cast<float>(0x7fc00001u);
    m_pNode->m_aNames.push_back("tab\there \x01 \x7f end");
    std::ostringstream text;
    ASSERT_TRUE(KvJsonStore::SaveText(text, NodeType(), m_pNode, {&m_Target}));
    std::ifstream golden(KV_SAVED_NODE_PATH, std::ios::binary);
    EXPECT_EQ(text.str(), std::string(std::istreambuf_iterator<char>(golden), {}));
}

TEST_F(JsonStore, Format_EveryValueKind)
{
    const Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    EXPECT_EQ(saved.begin().key(), "$type");
    EXPECT_EQ(saved["$type"], "KvTestNode");
    EXPECT_EQ(saved["m_bFlag"], true);
    EXPECT_EQ(saved["m_ucByte"], 200);
    EXPECT_EQ(saved["m_ulCount"], 4000000000u);
    EXPECT_EQ(saved["m_slOffset"], -7);
    EXPECT_EQ(saved["m_fScale"].dump(), "0.1");
    EXPECT_EQ(saved["m_Guid"], "00112233-4455-6677-8899-aabbccddeeff");
    EXPECT_EQ(saved["m_vPosition"].dump(), "[1.0,2.5,-3.25]");
    EXPECT_EQ(saved["m_quatRotation"].dump(), "[0.0,0.70710677,0.0,0.70710677]");
    EXPECT_EQ(saved["m_colTint"].dump(), "[1,2,3,4]");
    EXPECT_TRUE(saved["m_pRunResource"].is_null());
    EXPECT_EQ(saved["m_eShape"], "SHAPE_CAPSULE");
    EXPECT_EQ(saved["m_eRawKind"], 77);
    EXPECT_EQ(saved["m_Record"].dump(), R"({"$type":"KvTestRecord","m_fWeight":2.0,"m_strTag":"embedded"})");
    EXPECT_EQ(saved["m_aIds"].dump(), "[1,2,4294967295]");
    EXPECT_EQ(saved["m_acBytes"], "AAH+/wo=");
    EXPECT_EQ(saved["m_aRecords"][1]["m_strTag"], "second");
    EXPECT_EQ(saved["m_pChild"]["m_strName"], "only child");
    EXPECT_EQ(saved["m_apChildren"][1]["m_strName"], "right");
    EXPECT_EQ(saved["m_pTarget"]["$xref"], "KvTestTarget");
    EXPECT_EQ(saved["m_pTarget"]["name"], "target");
    EXPECT_EQ(saved["m_pTarget"]["guid"], m_Target.m_XRefGUID.ToString());
    EXPECT_EQ(saved["m_pDataType"], "KvTestPayload");
    EXPECT_EQ(saved["m_pData"].dump(),
              R"({"$type":"KvTestPayload","m_slValue":42,"m_aPoints":[[1.0,2.0],[3.0,4.0]]})");
}

TEST_F(JsonStore, Format_NotSavedMembersAbsentAndOrderKept)
{
    const Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    EXPECT_FALSE(saved.contains("m_ulRuntimeOnly"));
    EXPECT_FALSE(saved.contains("m_pParent"));
    EXPECT_FALSE(saved["m_apChildren"][0].contains("m_pParent"));
    std::vector<std::string> keys;
    for (const auto& item : saved.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys[1], "m_strName");
    EXPECT_EQ(keys.back(), "m_pData");
}

// Every bit pattern comes back: finite values as numbers, the rest by their bits.
TEST_F(JsonStore, Floats_EveryBitPatternRoundTripsThroughText)
{
    const struct
    {
        uint32_t m_Bits;
        const char* m_Json;
    } cases[] = {
        {0x7fc00001, R"({"$f32":"0x7fc00001"})"}, // quiet NaN with a payload
        {0xffc00000, R"({"$f32":"0xffc00000"})"}, // negative NaN
        {0x7f800001, R"({"$f32":"0x7f800001"})"}, // signalling NaN
        {0xff800000, R"({"$f32":"0xff800000"})"},
        {0x80000000, "-0.0"},
        {0x00000001, "1e-45"},
        {0x7f7fffff, "3.4028235e+38"},
    };
    for (const auto& row : cases)
    {
        m_pNode->m_fScale = std::bit_cast<float>(row.m_Bits);
        KvTestNode* pLoaded = ReloadThroughText(R"("m_fScale")", row.m_Json);
        ASSERT_NE(pLoaded, nullptr);
        EXPECT_EQ(std::bit_cast<uint32_t>(pLoaded->m_fScale), row.m_Bits) << std::hex << row.m_Bits;
        DestroyNode(pLoaded);
    }
}

// Strings are bytes: valid UTF-8 stays a JSON string, anything else is spelled byte by byte
// as {"$latin1"}; either way the text can be written and reads back exactly, also as the
// name of a cross-reference.
TEST_F(JsonStore, Strings_EveryByteSequenceRoundTripsThroughText)
{
    const struct
    {
        std::string m_Bytes;
        const char* m_Json;
    } cases[] = {
        {"Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae", "\"Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae\""},
        {"Caf\xe9", "{\"$latin1\":\"Caf\xc3\xa9\"}"},
        {"\xc3", "{\"$latin1\":\"\xc3\x83\"}"},                                     // cut short
        {"\xc0\xaf", "{\"$latin1\":\"\xc3\x80\xc2\xaf\"}"},                         // overlong '/'
        {"\xed\xa0\x80", "{\"$latin1\":\"\xc3\xad\xc2\xa0\xc2\x80\"}"},             // surrogate
        {"\xf4\x90\x80\x80", "{\"$latin1\":\"\xc3\xb4\xc2\x90\xc2\x80\xc2\x80\"}"}, // above U+10FFFF
    };
    for (const auto& row : cases)
    {
        m_pNode->m_strName = row.m_Bytes;
        m_pNode->m_aNames = {row.m_Bytes};
        m_Target.m_strName = row.m_Bytes;
        KvTestNode* pLoaded = ReloadThroughText(R"("m_strName")", row.m_Json);
        ASSERT_NE(pLoaded, nullptr);
        EXPECT_EQ(pLoaded->m_strName, row.m_Bytes);
        EXPECT_EQ(pLoaded->m_aNames, std::vector<std::string>{row.m_Bytes});
        EXPECT_EQ(pLoaded->m_pTarget, &m_Target);
        DestroyNode(pLoaded);
    }
}

// A value whose name another value shares ("[NONE]" at 0 and N) is saved as its number, so
// every value reloads as itself; the shared name read from a file stands for the lowest.
TEST_F(JsonStore, Enums_SharedNamesSavedAsNumbers)
{
    const struct
    {
        uint32_t m_Value;
        const char* m_Json;
    } cases[] = {{SHAPE_NONE, "0"}, {SHAPE_CAPSULE, R"("SHAPE_CAPSULE")"}, {SHAPE_COUNT, "3"}, {9, "9"}};
    for (const auto& row : cases)
    {
        m_pNode->m_eShape = static_cast<eTestShape>(row.m_Value);
        KvTestNode* pLoaded = ReloadThroughText(R"("m_eShape")", row.m_Json);
        ASSERT_NE(pLoaded, nullptr);
        EXPECT_EQ(pLoaded->m_eShape, row.m_Value);
        DestroyNode(pLoaded);
    }
    auto* pNamed =
        static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), {{"m_eShape", "[NONE]"}}, "n.json"));
    ASSERT_NE(pNamed, nullptr);
    EXPECT_EQ(pNamed->m_eShape, SHAPE_NONE);
    DestroyNode(pNamed);
}

TEST_F(JsonStore, Load_RestoresValuesAndRunsPostDeserialize)
{
    const Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    auto* pLoaded = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "node.json"));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_acBytes, m_pNode->m_acBytes);
    EXPECT_EQ(pLoaded->m_aNames, m_pNode->m_aNames);
    EXPECT_EQ(pLoaded->m_Guid, m_pNode->m_Guid);
    EXPECT_EQ(pLoaded->m_ulRuntimeOnly, 0u);
    EXPECT_EQ(pLoaded->m_pTarget, &m_Target);
    EXPECT_EQ(pLoaded->m_apTargets[1], &m_Target);
    EXPECT_EQ(pLoaded->m_pDataType, KvTestPayload::GetReflectedDataType());
    EXPECT_EQ(static_cast<KvTestPayload*>(pLoaded->m_pData)->m_aPoints[1].y, 4.0f);
    // Parent links are rebuilt after load by the type's post-deserialise.
    EXPECT_EQ(pLoaded->m_iPostDeserializeCount, 1);
    EXPECT_EQ(pLoaded->m_apChildren[1]->m_pParent, pLoaded);
    EXPECT_EQ(pLoaded->m_pChild->m_iPostDeserializeCount, 1);
    DestroyNode(pLoaded);
}

TEST_F(JsonStore, CrossReference_GuidFirstThenName)
{
    Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    KvTestTarget sameName;
    sameName.m_strName = "target";
    // The GUID picks the right one although another target has the same name and came later.
    auto* pByGuid = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "guid.json"));
    ASSERT_NE(pByGuid, nullptr);
    EXPECT_EQ(pByGuid->m_pTarget, &m_Target);
    DestroyNode(pByGuid);

    saved["m_pTarget"]["guid"] = KvGuid::GenerateNew().ToString();
    saved["m_apTargets"][0].erase("guid");
    auto* pByName = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "name.json"));
    ASSERT_NE(pByName, nullptr);
    EXPECT_EQ(pByName->m_pTarget, &m_Target);
    EXPECT_EQ(pByName->m_apTargets[0], &m_Target);
    DestroyNode(pByName);
}

TEST_F(JsonStore, CrossReference_MissingTargetLoadsNullWithWarning)
{
    Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    saved["m_pTarget"] = {{"$xref", "KvTestTarget"}, {"name", "elsewhere"}};
    RecordingLog log;
    auto* pLoaded = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "missing.json"));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_pTarget, nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(
        log.m_aEntries[0].m_strMessage,
        ::testing::HasSubstr("missing.json: /m_pTarget: no 'KvTestTarget' named 'elsewhere' is loaded"));
    DestroyNode(pLoaded);
}

// Given a placeholder set, references to objects not loaded point at placeholders carrying
// their identity, as an import made them, one per identity; saving again writes them as they were.
TEST_F(JsonStore, CrossReference_MissingTargetsLoadAsPlaceholders)
{
    Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    const Json elsewhere = {{"$xref", "KvTestTarget"}, {"name", "elsewhere"}};
    const KvGuid guid = KvGuid::GenerateNew();
    saved["m_pTarget"] = elsewhere;
    saved["m_apTargets"] = {elsewhere,
                            {{"$xref", "KvTestTarget"}, {"name", "far"}, {"guid", guid.ToString()}}};
    RecordingLog log;
    KvPlaceholderSet placeholders;
    auto* pLoaded =
        static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "missing.json", &placeholders));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_TRUE(log.m_aEntries.empty());
    ASSERT_EQ(placeholders.GetObjects().size(), 2u);
    ASSERT_NE(pLoaded->m_pTarget, nullptr);
    EXPECT_EQ(pLoaded->m_pTarget->m_strName, "elsewhere");
    EXPECT_EQ(pLoaded->m_apTargets[0], pLoaded->m_pTarget);
    EXPECT_EQ(pLoaded->m_apTargets[1]->m_XRefGUID, guid);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), pLoaded, placeholders.GetNameOnlyTargets()), saved);
    EXPECT_EQ(KvReflectionInterface::GetInstance()->FindLiveObjectByName(KvTestTarget::GetReflectedDataType(),
                                                                         "elsewhere"),
              nullptr);
    DestroyNode(pLoaded);
}

TEST_F(JsonStore, CrossReference_NameOnlyTargetsSavedWithoutGuid)
{
    const Json saved = KvJsonStore::Save(NodeType(), m_pNode, {&m_Target});
    EXPECT_EQ(saved["m_pTarget"].dump(), R"({"$xref":"KvTestTarget","name":"target"})");
}

TEST_F(JsonStore, SharedObject_WrittenOnceRestoredSharedFreedOnce)
{
    KvTestNode* pShared = m_pNode->m_apChildren[1];
    m_pNode->m_apChildren.push_back(pShared);
    const Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    EXPECT_EQ(saved["m_apChildren"][2].dump(), R"({"$ref":"/m_apChildren/1"})");
    auto* pLoaded = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "shared.json"));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_apChildren[2], pLoaded->m_apChildren[1]);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), pLoaded), saved);
    // Both trees release the shared child once (checked by the sanitizer build).
    DestroyNode(pLoaded);
}

TEST_F(JsonStore, UnknownMember_WarnsAndLoads)
{
    Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    saved["m_fUnknown"] = 3;
    RecordingLog log;
    auto* pLoaded = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "extra.json"));
    ASSERT_NE(pLoaded, nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ::testing::HasSubstr("extra.json: : 'KvTestNode' has no member 'm_fUnknown'; ignored"));
    DestroyNode(pLoaded);
}

TEST_F(JsonStore, Load_FillsWhatTheConstructorMade)
{
    const KvJsonStore::Json document = {{"m_pRecord", {{"m_fWeight", 3.0}, {"m_strTag", "loaded"}}}};
    auto* pHolder = static_cast<KvTestHolder*>(
        KvJsonStore::Load(KvTestHolder::GetReflectedDataType(), document, "h.json"));
    ASSERT_NE(pHolder, nullptr);
    EXPECT_EQ(pHolder->m_pRecord->m_strTag, "loaded");
    // The holder's unsaved link still points at its record.
    EXPECT_EQ(pHolder->m_pRecord, pHolder->m_pMadeRecord);
    // A null frees the default record (sanitizer build: nothing leaks).
    KvReflectionInterface::GetInstance()->DestroyObject(KvTestHolder::GetReflectedDataType(), pHolder);
    auto* pEmpty = static_cast<KvTestHolder*>(
        KvJsonStore::Load(KvTestHolder::GetReflectedDataType(), {{"m_pRecord", nullptr}}, "e.json"));
    ASSERT_NE(pEmpty, nullptr);
    EXPECT_EQ(pEmpty->m_pRecord, nullptr);
    KvReflectionInterface::GetInstance()->DestroyObject(KvTestHolder::GetReflectedDataType(), pEmpty);
}

TEST_F(JsonStore, MissingMembers_KeepConstructorDefaults)
{
    auto* pLoaded =
        static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), Json{{"m_strName", "sparse"}}, "sparse.json"));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_strName, "sparse");
    EXPECT_EQ(pLoaded->m_fScale, 1.0f);
    EXPECT_EQ(pLoaded->m_colTint, (KvColor{255, 255, 255, 255}));
    DestroyNode(pLoaded);
}

// One row per malformed member: the document fails with the member's path and reason, and
// nothing built before the failure leaks.
TEST_F(JsonStore, WrongValueKinds_RefusedWithPathAndReason)
{
    const Json valid = KvJsonStore::Save(NodeType(), m_pNode);
    const struct
    {
        const char* m_Pointer;
        Json m_Value;
        const char* m_Expected;
    } cases[] = {
        {"/m_bFlag", 1, "test.json: /m_bFlag: expected true or false"},
        {"/m_ucByte", 256, "test.json: /m_ucByte: expected an integer from 0 to 255, found 256"},
        {"/m_ulCount", -1, "test.json: /m_ulCount: expected an unsigned 32-bit integer, found -1"},
        {"/m_slOffset", 2147483648u,
         "test.json: /m_slOffset: expected a signed 32-bit integer, found 2147483648"},
        {"/m_fScale", "NaN", "test.json: /m_fScale: expected a 32-bit float"},
        {"/m_fScale", 3.4028235677973366e38, "test.json: /m_fScale: expected a 32-bit float"},
        {"/m_vPosition/1", -1e300, "test.json: /m_vPosition/1: expected a 32-bit float"},
        {"/m_fScale", Json{{"$f32", "0x7fc0"}}, "test.json: /m_fScale: expected a 32-bit float"},
        {"/m_fScale", Json{{"$f32", "0x7fc00000"}, {"x", 1}},
         "test.json: /m_fScale: expected a 32-bit float"},
        {"/m_strName", Json{{"$latin1", "\xc4\x80"}}, "test.json: /m_strName: expected a string, or"},
        {"/m_strName", Json{{"$latin1", 5}}, "test.json: /m_strName: expected a string, or"},
        {"/m_pTarget/name", 5, "test.json: /m_pTarget/name: expected a string"},
        {"/m_Guid", "not-a-guid", "test.json: /m_Guid: expected a GUID"},
        {"/m_vPosition", Json::array({1, 2}), "test.json: /m_vPosition: expected an array of 3 numbers"},
        {"/m_colTint/3", 300, "test.json: /m_colTint/3: expected an integer from 0 to 255, found 300"},
        {"/m_eShape", "SHAPE_CUBE",
         "test.json: /m_eShape: 'SHAPE_CUBE' is not a value name of this enumeration"},
        {"/m_acBytes", "!!", "test.json: /m_acBytes: expected a base64 string"},
        {"/m_aIds", 5, "test.json: /m_aIds: expected an array"},
        {"/m_apChildren/1/m_strName", 5, "test.json: /m_apChildren/1/m_strName: expected a string"},
        {"/m_pChild/$type", "KvTestRecord",
         "test.json: /m_pChild: expected type 'KvTestNode', found \"KvTestRecord\""},
        {"/m_pDataType", "KvNoSuchType", "test.json: /m_pDataType: expected the name of a registered type"},
        {"/m_apChildren/1", Json{{"$ref", "/nowhere"}}, "test.json: /m_apChildren/1: refers to \"/nowhere\""},
        {"/m_pTarget", Json{{"$xref", "KvTestNode"}},
         "test.json: /m_pTarget: expected a reference to 'KvTestTarget'"},
        {"/m_pData/m_slValue", "x", "test.json: /m_pData/m_slValue: expected a signed 32-bit integer"},
        {"/m_pData", Json{{"$ref", "/m_pChild"}},
         "test.json: /m_pData: refers to \"/m_pChild\", an object of type 'KvTestNode', not 'KvTestPayload'"},
    };
    for (const auto& row : cases)
    {
        Json document = valid;
        document[Json::json_pointer(row.m_Pointer)] = row.m_Value;
        EXPECT_THAT(LoadFailure(document), ::testing::HasSubstr(row.m_Expected)) << row.m_Pointer;
    }
}

TEST_F(JsonStore, DynamicPointerWithoutType_Refused)
{
    Json document = KvJsonStore::Save(NodeType(), m_pNode);
    document["m_pDataType"] = nullptr;
    EXPECT_THAT(LoadFailure(document), ::testing::HasSubstr("/m_pData: no type is named in 'm_pDataType'"));
}

TEST_F(JsonStore, Files_MalformedAndMissingAreLoggedNotFatal)
{
    const std::string path = ::testing::TempDir() + "kvstore_malformed.json";
    {
        std::ofstream(path) << "{\"$type\": \"KvTestNode\", ";
    }
    RecordingLog log;
    EXPECT_EQ(KvJsonStore::LoadFile(path, NodeType()), nullptr);
    EXPECT_EQ(KvJsonStore::LoadFile(path + ".none", NodeType()), nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 2u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ::testing::HasSubstr("kvstore_malformed.json: is not valid JSON"));
    EXPECT_THAT(log.m_aEntries[1].m_strMessage, ::testing::HasSubstr(".none: cannot be opened"));

    ASSERT_TRUE(KvJsonStore::SaveFile(path, NodeType(), m_pNode));
    auto* pLoaded = static_cast<KvTestNode*>(KvJsonStore::LoadFile(path, NodeType()));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_strName, "root");
    DestroyNode(pLoaded);
}
