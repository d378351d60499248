#include "Foundation/KvFatalError.h"
#include "Toolbox/KvToolboxXML.h"
#include "resources/KvSourceProbe.h"
#include "support/KvTestFolder.h"
#include "support/KvTestReports.h"

#include <filesystem>

using SourceProbe = TestFolder;

TEST_F(SourceProbe, FirstBytes_AtMostTheLimitAndNoneForAMissingFile)
{
    const std::string longText(KvSourceProbe::kFirstBytesSize + 10, 'x');
    EXPECT_EQ(KvSourceProbe(Write("long.bin", longText)).GetFirstBytes(),
              longText.substr(0, KvSourceProbe::kFirstBytesSize));
    EXPECT_EQ(KvSourceProbe(Write("short.bin", "DDS ")).GetFirstBytes(), "DDS ");
    EXPECT_EQ(KvSourceProbe(Path("missing.bin")).GetFirstBytes(), "");
}

TEST_F(SourceProbe, XmlRoot_ParsedOnceAndKept)
{
    const KvSourceProbe probe(
        Write("layer.xml", "<?xml version=\"1.0\"?><particlelayer><emitter/></particlelayer>"));
    const rapidxml::xml_node<>* pRoot = probe.GetXmlRoot();
    ASSERT_NE(pRoot, nullptr);
    EXPECT_STREQ(pRoot->name(), "particlelayer");
    EXPECT_EQ(probe.GetXmlRoot(), pRoot);
    EXPECT_EQ(KvSourceProbe(Write("comment.xml", "<!-- none -->")).GetXmlRoot(), nullptr);
    EXPECT_EQ(KvSourceProbe(Path("missing.xml")).GetXmlRoot(), nullptr);
}

TEST_F(SourceProbe, XmlRoot_MalformedIsFatalOnceOnly)
{
    RaisingFatalErrors raising;
    const KvSourceProbe probe(Write("broken.xml", "<a><b>"));
    EXPECT_THROW(probe.GetXmlRoot(), KvStructuredException);
    EXPECT_EQ(probe.GetXmlRoot(), nullptr);
}

TEST_F(SourceProbe, XmlRoot_SourceBeyondTheImportersLimitIsNotRead)
{
    // Sparse: the size is claimed without the bytes being written.
    const std::string path = Write("huge.xml", "<a/>");
    std::filesystem::resize_file(path, KvXmlDocument::kMaxSourceSize + 1);
    RecordingLog log;
    EXPECT_EQ(KvSourceProbe(path).GetXmlRoot(), nullptr);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::HasSubstr("is too large"));
}
