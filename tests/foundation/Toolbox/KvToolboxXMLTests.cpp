#include "IO/KvIOStream_Memory.h"
#include "Toolbox/KvToolboxXML.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
constexpr const char* kFile = "Toolbox\\KvToolboxXML";
constexpr const char* kFunction = "rapidxml::parse_error_handler";

bool LoadText(KvXmlDocument& document, std::string& text)
{
    KvIOStream_Memory stream(text.data(), static_cast<uint32_t>(text.size()));
    return document.Load(stream);
}
} // namespace

TEST(XmlDocument, Load_ParsesInPlaceFromTheStream)
{
    std::string text = "<font><info face=\"Arial\" size=\"32\"/><chars count=\"2\"/></font>";
    KvXmlDocument document;
    ASSERT_TRUE(LoadText(document, text));
    rapidxml::xml_node<>* pRoot = document.GetRoot("font");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_STREQ(pRoot->first_node("info")->first_attribute("face")->value(), "Arial");
    EXPECT_EQ(document.GetRoot("missing"), nullptr);
}

TEST(XmlDocument, Load_EmptyStreamGivesAnEmptyDocument)
{
    std::string text = "x";
    KvIOStream_Memory stream(text.data(), 0);
    KvXmlDocument document;
    EXPECT_TRUE(document.Load(stream));
    EXPECT_EQ(document.GetDocument().first_node(), nullptr);
}

// Parsing the text must end the process with the parse error and this excerpt.
#define EXPECT_PARSE_ERROR(source, message)                                                                  \
    do                                                                                                       \
    {                                                                                                        \
        std::string text = source;                                                                           \
        KvXmlDocument document;                                                                              \
        EXPECT_FATAL(LoadText(document, text), kFile, kFunction, 24, message);                               \
    } while (false)

TEST(XmlDocument, ParseError_ExcerptCutAt30Characters)
{
    EXPECT_PARSE_ERROR("<a x=1234567890abcdefghijklmnopqrstuvwxyz/>",
                       "Parse error : expected ' or \" with '1234567890abcdefghijklmnopqrst'");
}

TEST(XmlDocument, ParseError_ShortRemainderShownWhole)
{
    EXPECT_PARSE_ERROR("<a x=1/>", "Parse error : expected ' or \" with '1/>'");
    EXPECT_PARSE_ERROR("<a><b>", "Parse error : unexpected end of data with ''");
}

namespace
{
std::string Repeated(const std::string& text, size_t count)
{
    std::string result;
    for (size_t index = 0; index < count; ++index)
        result += text;
    return result;
}

std::string Nested(size_t depth)
{
    return Repeated("<a>", depth) + Repeated("</a>", depth);
}
} // namespace

// Nesting the recursive parser cannot take on its stack, and trees far larger than their text,
// are refused before parsing with the reason; sources within the limits load.
TEST(XmlDocument, DeepOrDenseSources_RefusedBeforeParsing)
{
    const uint64_t node = sizeof(rapidxml::xml_node<>);
    const uint64_t attribute = sizeof(rapidxml::xml_attribute<>);
    const std::string dense = "<r>" + Repeated("<a/>", 1000000) + "</r>";
    const std::string attributes = "<r" + Repeated(" a=''", 800000) + "/>";
    const std::string deep =
        "Ignoring XML source 'KvIOStream_Memory': it nests elements deeper than 256 levels";
    const struct
    {
        std::string m_strName;
        std::string m_strText;
        // Empty when the source loads.
        std::string m_strMessage;
    } rows[] = {
        {"80000 levels left open", Repeated("<a>", 80000), deep},
        {"one level too deep", Nested(257), deep},
        {"as deep as allowed", Nested(256), ""},
        {"an element per 4 bytes", dense,
         "Ignoring XML source 'KvIOStream_Memory': parsing its 4000007 bytes would take " +
             std::to_string(1000001 * node) + ", more than 8 times as many and 1048576 more"},
        {"an attribute per 5 bytes", attributes,
         "Ignoring XML source 'KvIOStream_Memory': parsing its 4000004 bytes would take " +
             std::to_string(node + 800000 * attribute) + ", more than 8 times as many and 1048576 more"},
        {"small dense sources within the allowance", "<r>" + Repeated("<a b=''/>", 1000) + "</r>", ""},
    };
    for (const auto& row : rows)
    {
        RecordingLog log;
        KvXmlDocument document;
        std::string text = row.m_strText;
        const bool bLoaded = LoadText(document, text);
        EXPECT_EQ(bLoaded, row.m_strMessage.empty()) << row.m_strName;
        if (bLoaded)
        {
            EXPECT_TRUE(log.m_aEntries.empty()) << row.m_strName;
            EXPECT_NE(document.GetDocument().first_node(), nullptr) << row.m_strName;
            continue;
        }
        ASSERT_EQ(log.m_aEntries.size(), 1u) << row.m_strName;
        EXPECT_EQ(log.m_aEntries[0].m_uiLevel, 3u);
        EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::EndsWith(row.m_strMessage)) << row.m_strName;
    }
}
