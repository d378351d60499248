#include "store/KvJsonStore.h"
#include "store/KvPlaceholderSet.h"
#include "support/KvTestData.h"
#include "support/KvTestFolder.h"
#include "support/KvTestNodeFactory.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <bit>
#include <cmath>
#include <fstream>
#include <functional>
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
        EXPECT_EQ(Load(document), nullptr);
        return log.m_aEntries.empty() ? "" : log.m_aEntries.back().m_strMessage;
    }

    // A load the test owns.
    template <class T = KvTestNode>
    static OwnedData<T> Load(const Json& document)
    {
        return OwnedData<T>(
            static_cast<T*>(KvJsonStore::Load(T::GetReflectedDataType(), document, "test.json")));
    }

    KvTestTarget m_Target;
    KvTestNode* m_pNode = nullptr;
};
} // namespace

// What loads saves to the same text; references reach the live target, and the parent links,
// which are not saved, are rebuilt after load by the type's post-deserialise. Members a document
// lacks keep the constructor's values.
TEST_F(JsonStore, SaveLoadSave_IdenticalTextAndLinksRebuilt)
{
    const std::string first = KvJsonStore::Save(NodeType(), m_pNode).dump(2);
    auto pLoaded = Load(Json::parse(first));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), pLoaded.get()).dump(2), first);
    EXPECT_EQ(pLoaded->m_pTarget, &m_Target);
    EXPECT_EQ(pLoaded->m_apTargets[1], &m_Target);
    EXPECT_EQ(pLoaded->m_iPostDeserializeCount, 1);
    EXPECT_EQ(pLoaded->m_pChild->m_iPostDeserializeCount, 1);
    EXPECT_EQ(pLoaded->m_apChildren[1]->m_pParent, pLoaded.get());
    EXPECT_EQ(pLoaded->m_ulRuntimeOnly, 0u);
    pLoaded = Load(Json{{"m_strName", "sparse"}});
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_fScale, 1.0f);
    EXPECT_EQ(pLoaded->m_colTint, (KvColor{255, 255, 255, 255}));
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

// Every float bit pattern, byte sequence and enumeration value reads back as itself through the
// written text, in the row's form: finite floats as numbers, the rest by their bits; valid UTF-8 as
// a string, anything else byte by byte as {"$latin1"}, also as the name of a cross-reference; an
// enumeration value by its name, unless another value shares it ("[NONE]" at 0 and N), then by its
// number.
TEST_F(JsonStore, EveryValueRoundTripsThroughText)
{
    using Setter = std::function<void(KvTestNode&, KvTestTarget&)>;
    const auto scale = [](uint32_t bits) -> Setter
    {
        return [bits](KvTestNode& node, KvTestTarget&)
        {
            node.m_fScale = std::bit_cast<float>(bits);
        };
    };
    const auto name = [](const std::string& bytes) -> Setter
    {
        return [bytes](KvTestNode& node, KvTestTarget& target)
        {
            node.m_strName = target.m_strName = bytes;
            node.m_aNames = {bytes};
        };
    };
    const auto shape = [](uint32_t value) -> Setter
    {
        return [value](KvTestNode& node, KvTestTarget&)
        {
            node.m_eShape = static_cast<eTestShape>(value);
        };
    };
    const std::tuple<Setter, std::string, std::string> rows[] = {
        {scale(0x7fc00001), "m_fScale", R"({"$f32":"0x7fc00001"})"}, // quiet NaN with a payload
        {scale(0xffc00000), "m_fScale", R"({"$f32":"0xffc00000"})"}, // negative NaN
        {scale(0x7f800001), "m_fScale", R"({"$f32":"0x7f800001"})"}, // signalling NaN
        {scale(0xff800000), "m_fScale", R"({"$f32":"0xff800000"})"},
        {scale(0x80000000), "m_fScale", "-0.0"},
        {scale(0x00000001), "m_fScale", "1e-45"},
        {scale(0x7f7fffff), "m_fScale", "3.4028235e+38"},
        {name("Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae"), "m_strName",
         "\"Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae\""},
        {name("Caf\xe9"), "m_strName", "{\"$latin1\":\"Caf\xc3\xa9\"}"},
        {name("\xc3"), "m_strName", "{\"$latin1\":\"\xc3\x83\"}"},                         // cut short
        {name("\xc0\xaf"), "m_strName", "{\"$latin1\":\"\xc3\x80\xc2\xaf\"}"},             // overlong '/'
        {name("\xed\xa0\x80"), "m_strName", "{\"$latin1\":\"\xc3\xad\xc2\xa0\xc2\x80\"}"}, // surrogate
        {name("\xf4\x90\x80\x80"), "m_strName",
         "{\"$latin1\":\"\xc3\xb4\xc2\x90\xc2\x80\xc2\x80\"}"}, // > U+10FFFF
        {shape(SHAPE_NONE), "m_eShape", "0"},
        {shape(SHAPE_CAPSULE), "m_eShape", R"("SHAPE_CAPSULE")"},
        {shape(SHAPE_COUNT), "m_eShape", "3"},
        {shape(9), "m_eShape", "9"},
    };
    for (const auto& [set, member, json] : rows)
    {
        set(*m_pNode, m_Target);
        const std::string text = KvJsonStore::Save(NodeType(), m_pNode, {&m_Target}).dump();
        EXPECT_THAT(text, ::testing::HasSubstr("\"" + member + "\":" + json));
        auto pLoaded = Load(Json::parse(text));
        ASSERT_NE(pLoaded, nullptr) << json;
        EXPECT_EQ(KvJsonStore::Save(NodeType(), pLoaded.get(), {&m_Target}).dump(), text);
        EXPECT_EQ(pLoaded->m_pTarget, &m_Target);
    }
    auto pNamed = Load({{"m_eShape", "[NONE]"}});
    ASSERT_NE(pNamed, nullptr);
    EXPECT_EQ(pNamed->m_eShape, SHAPE_NONE);
}

TEST_F(JsonStore, CrossReference_GuidFirstThenName)
{
    Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    EXPECT_EQ(saved["m_pTarget"]["guid"], m_Target.m_XRefGUID.ToString());
    KvTestTarget sameName;
    sameName.m_strName = "target";
    // The GUID picks the right one although another target has the same name and came later.
    auto pByGuid = Load(saved);
    ASSERT_NE(pByGuid, nullptr);
    EXPECT_EQ(pByGuid->m_pTarget, &m_Target);

    saved["m_pTarget"]["guid"] = KvGuid::GenerateNew().ToString();
    saved["m_apTargets"][0].erase("guid");
    auto pByName = Load(saved);
    ASSERT_NE(pByName, nullptr);
    EXPECT_EQ(pByName->m_pTarget, &m_Target);
    EXPECT_EQ(pByName->m_apTargets[0], &m_Target);
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
    const OwnedData<KvTestNode> pLoaded(
        static_cast<KvTestNode*>(KvJsonStore::Load(NodeType(), saved, "missing.json", &placeholders)));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_TRUE(log.m_aEntries.empty());
    ASSERT_EQ(placeholders.GetObjects().size(), 2u);
    ASSERT_NE(pLoaded->m_pTarget, nullptr);
    EXPECT_EQ(pLoaded->m_pTarget->m_strName, "elsewhere");
    EXPECT_EQ(pLoaded->m_apTargets[0], pLoaded->m_pTarget);
    EXPECT_EQ(pLoaded->m_apTargets[1]->m_XRefGUID, guid);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), pLoaded.get(), placeholders.GetNameOnlyTargets()), saved);
    EXPECT_EQ(KvReflectionInterface::GetInstance()->FindLiveObjectByName(KvTestTarget::GetReflectedDataType(),
                                                                         "elsewhere"),
              nullptr);
}

TEST_F(JsonStore, SharedObject_WrittenOnceRestoredSharedFreedOnce)
{
    KvTestNode* pShared = m_pNode->m_apChildren[1];
    m_pNode->m_apChildren.push_back(pShared);
    const Json saved = KvJsonStore::Save(NodeType(), m_pNode);
    EXPECT_EQ(saved["m_apChildren"][2].dump(), R"({"$ref":"/m_apChildren/1"})");
    auto pLoaded = Load(saved);
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_apChildren[2], pLoaded->m_apChildren[1]);
    EXPECT_EQ(KvJsonStore::Save(NodeType(), pLoaded.get()), saved);
    // Both trees release the shared child once (checked by the sanitizer build).
}

// A reference to an object that is not loaded, or a member the type lacks, is a warning: the rest
// loads.
TEST_F(JsonStore, MissingTargetOrUnknownMember_WarnsAndLoads)
{
    const std::pair<Json, std::string> rows[] = {
        {{{"m_pTarget", {{"$xref", "KvTestTarget"}, {"name", "elsewhere"}}}},
         "test.json: /m_pTarget: no 'KvTestTarget' named 'elsewhere' is loaded"},
        {{{"m_fUnknown", 3}}, "test.json: : 'KvTestNode' has no member 'm_fUnknown'; ignored"}};
    for (const auto& [members, warning] : rows)
    {
        Json saved = KvJsonStore::Save(NodeType(), m_pNode);
        saved.update(members);
        RecordingLog log;
        auto pLoaded = Load(saved);
        ASSERT_NE(pLoaded, nullptr);
        EXPECT_EQ(pLoaded->m_pTarget, members.contains("m_pTarget") ? nullptr : &m_Target);
        ASSERT_EQ(log.m_aEntries.size(), 1u);
        EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::HasSubstr(warning));
    }
}

TEST_F(JsonStore, Load_FillsWhatTheConstructorMade)
{
    const KvJsonStore::Json document = {{"m_pRecord", {{"m_fWeight", 3.0}, {"m_strTag", "loaded"}}}};
    auto pHolder = Load<KvTestHolder>(document);
    ASSERT_NE(pHolder, nullptr);
    EXPECT_EQ(pHolder->m_pRecord->m_strTag, "loaded");
    // The holder's unsaved link still points at its record.
    EXPECT_EQ(pHolder->m_pRecord, pHolder->m_pMadeRecord);
    // A null frees the default record (sanitizer build: nothing leaks).
    auto pEmpty = Load<KvTestHolder>({{"m_pRecord", nullptr}});
    ASSERT_NE(pEmpty, nullptr);
    EXPECT_EQ(pEmpty->m_pRecord, nullptr);
}

// One row per malformed member: the document fails with the member's path and reason, and
// nothing built before the failure leaks.
TEST_F(JsonStore, WrongValueKinds_RefusedWithPathAndReason)
{
    const Json valid = KvJsonStore::Save(NodeType(), m_pNode);
    for (const Json& row : TestDataJson("store/wrong_value_kinds.json"))
    {
        Json document = valid;
        document[Json::json_pointer(row[0].get<std::string>())] = row[1];
        EXPECT_THAT(LoadFailure(document), ::testing::HasSubstr(row[2].get<std::string>())) << row[0];
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
    const OwnedData<KvTestNode> pLoaded(static_cast<KvTestNode*>(KvJsonStore::LoadFile(path, NodeType())));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_strName, "root");
}
