#include "Reflection/KvObjectTree.h"
#include "Store/KvJsonStore.h"
#include "support/KvTestFolder.h"
#include "support/KvTestNodeFactory.h"
#include "support/KvTestReports.h"

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
    void TearDown() override { DestroyData(m_pNode); }

    // Loads a document expected to be refused; returns the one logged reason.
    std::string LoadFailure(const Json& document)
    {
        RecordingLog log;
        void* pObject = KvJsonStore::Load(NodeType(), document, "test.json");
        EXPECT_EQ(pObject, nullptr);
        if (pObject)
            DestroyData(static_cast<KvTestNode*>(pObject));
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
    DestroyData(pLoaded);
}

// The saved form of a node holding every member kind, its odd values and a shared child: the text
// written as the walk goes and the dumped document are the golden file byte for byte.
TEST_F(JsonStore, SaveTextAndDocument_TheGoldenFile)
{
    m_pNode->m_apChildren.push_back(m_pNode->m_apChildren[1]);
    m_pNode->m_strName = "Caf\xe9";
    m_pNode->m_fScale = std::bit_cast<float>(0x7fc00001u);
    m_pNode->m_aNames.push_back("tab\there \x01 \x7f end");
    std::ostringstream text;
    ASSERT_TRUE(KvJsonStore::SaveText(text, NodeType(), m_pNode, {&m_Target}));
    const std::string golden = ReadFile(KV_SAVED_NODE_PATH);
    EXPECT_EQ(text.str(), golden);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), m_pNode, {&m_Target}).dump(2) + "\n", golden);
}

// Every bit pattern comes back: finite values as numbers, the rest by their bits.
TEST_F(JsonStore, Floats_EveryBitPatternRoundTripsThroughText)
{
    const std::pair<uint32_t, const char*> cases[] = {
        {0x7fc00001, R"({"$f32":"0x7fc00001"})"}, // quiet NaN with a payload
        {0xffc00000, R"({"$f32":"0xffc00000"})"}, // negative NaN
        {0x7f800001, R"({"$f32":"0x7f800001"})"}, // signalling NaN
        {0xff800000, R"({"$f32":"0xff800000"})"},
        {0x80000000, "-0.0"},
        {0x00000001, "1e-45"},
        {0x7f7fffff, "3.4028235e+38"},
    };
    for (const auto& [bits, json] : cases)
    {
        m_pNode->m_fScale = std::bit_cast<float>(bits);
        KvTestNode* pLoaded = ReloadThroughText(R"("m_fScale")", json);
        ASSERT_NE(pLoaded, nullptr);
        EXPECT_EQ(std::bit_cast<uint32_t>(pLoaded->m_fScale), bits) << std::hex << bits;
        DestroyData(pLoaded);
    }
}

// Strings are bytes: valid UTF-8 stays a JSON string, anything else is spelled byte by byte
// as {"$latin1"}; either way the text can be written and reads back exactly, also as the
// name of a cross-reference.
TEST_F(JsonStore, Strings_EveryByteSequenceRoundTripsThroughText)
{
    const std::pair<std::string, const char*> cases[] = {
        {"Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae", "\"Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae\""},
        {"Caf\xe9", "{\"$latin1\":\"Caf\xc3\xa9\"}"},
        {"\xc3", "{\"$latin1\":\"\xc3\x83\"}"},                                     // cut short
        {"\xc0\xaf", "{\"$latin1\":\"\xc3\x80\xc2\xaf\"}"},                         // overlong '/'
        {"\xed\xa0\x80", "{\"$latin1\":\"\xc3\xad\xc2\xa0\xc2\x80\"}"},             // surrogate
        {"\xf4\x90\x80\x80", "{\"$latin1\":\"\xc3\xb4\xc2\x90\xc2\x80\xc2\x80\"}"}, // above U+10FFFF
    };
    for (const auto& [bytes, json] : cases)
    {
        m_pNode->m_strName = bytes;
        m_pNode->m_aNames = {bytes};
        m_Target.m_strName = bytes;
        KvTestNode* pLoaded = ReloadThroughText(R"("m_strName")", json);
        ASSERT_NE(pLoaded, nullptr);
        EXPECT_EQ(pLoaded->m_strName, bytes);
        EXPECT_EQ(pLoaded->m_aNames, std::vector<std::string>{bytes});
        EXPECT_EQ(pLoaded->m_pTarget, &m_Target);
        DestroyData(pLoaded);
    }
}

// A value whose name another value shares ("[NONE]" at 0 and N) is saved as its number, so
// every value reloads as itself; the shared name read from a file stands for the lowest.
TEST_F(JsonStore, Enums_SharedNamesSavedAsNumbers)
{
    const std::pair<uint32_t, const char*> cases[] = {
        {SHAPE_NONE, "0"}, {SHAPE_CAPSULE, R"("SHAPE_CAPSULE")"}, {SHAPE_COUNT, "3"}, {9, "9"}};
    for (const auto& [value, json] : cases)
    {
        m_pNode->m_eShape = static_cast<eTestShape>(value);
        KvTestNode* pLoaded = ReloadThroughText(R"("m_eShape")", json);
        ASSERT_NE(pLoaded, nullptr);
        EXPECT_EQ(pLoaded->m_eShape, value);
        DestroyData(pLoaded);
    }
    auto* pNamed =
        static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), {{"m_eShape", "[NONE]"}}, "n.json"));
    ASSERT_NE(pNamed, nullptr);
    EXPECT_EQ(pNamed->m_eShape, SHAPE_NONE);
    DestroyData(pNamed);
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
    DestroyData(pLoaded);
    // Members the document lacks keep the constructor's values.
    pLoaded =
        static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), Json{{"m_strName", "sparse"}}, "s.json"));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_fScale, 1.0f);
    EXPECT_EQ(pLoaded->m_colTint, (KvColor{255, 255, 255, 255}));
    DestroyData(pLoaded);
}

TEST_F(JsonStore, CrossReference_GuidFirstThenName)
{
    Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    EXPECT_EQ(saved["m_pTarget"]["guid"], m_Target.m_XRefGUID.ToString());
    KvTestTarget sameName;
    sameName.m_strName = "target";
    // The GUID picks the right one although another target has the same name and came later.
    auto* pByGuid = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "guid.json"));
    ASSERT_NE(pByGuid, nullptr);
    EXPECT_EQ(pByGuid->m_pTarget, &m_Target);
    DestroyData(pByGuid);

    saved["m_pTarget"]["guid"] = KvGuid::GenerateNew().ToString();
    saved["m_apTargets"][0].erase("guid");
    auto* pByName = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "name.json"));
    ASSERT_NE(pByName, nullptr);
    EXPECT_EQ(pByName->m_pTarget, &m_Target);
    EXPECT_EQ(pByName->m_apTargets[0], &m_Target);
    DestroyData(pByName);
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
    DestroyData(pLoaded);
}

// A reference to an object that is not loaded, or a member the type lacks, is a warning: the rest
// loads.
TEST_F(JsonStore, MissingTargetOrUnknownMember_WarnsAndLoads)
{
    const std::pair<Json, std::string> rows[] = {
        {{{"m_pTarget", {{"$xref", "KvTestTarget"}, {"name", "elsewhere"}}}},
         "w.json: /m_pTarget: no 'KvTestTarget' named 'elsewhere' is loaded"},
        {{{"m_fUnknown", 3}}, "w.json: : 'KvTestNode' has no member 'm_fUnknown'; ignored"}};
    for (const auto& [members, warning] : rows)
    {
        Json saved = KvJsonStore::Save(NodeType(), m_pNode);
        saved.update(members);
        RecordingLog log;
        auto* pLoaded = static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "w.json"));
        ASSERT_NE(pLoaded, nullptr);
        EXPECT_EQ(pLoaded->m_pTarget, members.contains("m_pTarget") ? nullptr : &m_Target);
        ASSERT_EQ(log.m_aEntries.size(), 1u);
        EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::HasSubstr(warning));
        DestroyData(pLoaded);
    }
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

// One row per malformed member: the document fails with the member's path and reason, and
// nothing built before the failure leaks.
TEST_F(JsonStore, WrongValueKinds_RefusedWithPathAndReason)
{
    const Json valid = KvJsonStore::Save(NodeType(), m_pNode);
    const std::tuple<const char*, Json, const char*> cases[] = {
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
        {"/m_pDataType", nullptr, "test.json: /m_pData: no type is named in 'm_pDataType'"},
    };
    for (const auto& [pointer, value, expected] : cases)
    {
        Json document = valid;
        document[Json::json_pointer(pointer)] = value;
        EXPECT_THAT(LoadFailure(document), ::testing::HasSubstr(expected)) << pointer;
    }
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
    DestroyData(pLoaded);
}
