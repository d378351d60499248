#include "support/KvReflectedData.h"
#include "support/KvTestModel.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <gtest/gtest.h>

namespace
{
using Json = KvJsonStore::Json;

const Json kNodeNamingItsTarget = {{"$type", "KvTestNode"},
                                   {"m_pTarget", {{"$xref", "KvTestTarget"}, {"name", "later"}}}};
const Json kTarget = {{"$type", "KvTestTarget"}, {"m_strName", "later"}};
} // namespace

// Files of a project refer to one another in any order: a reference waits for the whole set.
TEST(JsonLoadSession, ReferenceToALaterDocumentResolvedAtFinish)
{
    RecordingLog log;
    KvJsonLoadSession session;
    const OwnedData<KvTestNode> pNode(static_cast<KvTestNode*>(
        session.Load(KvTestNode::GetReflectedDataType(), kNodeNamingItsTarget, "node.json")));
    // Refused part-way: what it had queued goes with it, so Finish writes into no freed slot.
    const Json refused = {{"$type", "KvTestNode"},
                          {"m_pTarget", {{"$xref", "KvTestTarget"}, {"name", "later"}}},
                          {"m_pDataType", "NoSuchType"}};
    EXPECT_EQ(session.Load(KvTestNode::GetReflectedDataType(), refused, "refused.json"), nullptr);
    const OwnedData<KvTestTarget> pTarget(static_cast<KvTestTarget*>(
        session.Load(KvTestTarget::GetReflectedDataType(), kTarget, "target.json")));
    ASSERT_NE(pNode, nullptr);
    ASSERT_NE(pTarget, nullptr);
    EXPECT_EQ(pNode->m_pTarget, nullptr);
    EXPECT_EQ(pNode->m_iPostDeserializeCount, 0);
    session.Finish();
    EXPECT_EQ(pNode->m_pTarget, pTarget.get());
    EXPECT_EQ(pNode->m_iPostDeserializeCount, 1);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::HasSubstr("refused.json: /m_pDataType"));
}
