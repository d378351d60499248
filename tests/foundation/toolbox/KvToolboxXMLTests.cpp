#include "IO/KvIOStream_Memory.h"
#include "Toolbox/KvToolboxXML.h"
#include "support/KvTestReports.h"
#include "testaccess/KvFoundationTestAccess.h"

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

// Every node of the tree with its type, name, value and attributes, in document order.
std::string Describe(const rapidxml::xml_node<>& node)
{
    std::string description;
    for (auto* pChild = node.first_node(); pChild; pChild = pChild->next_sibling())
    {
        description += std::to_string(pChild->type()) + pChild->name() + "=" + pChild->value() + "{";
        for (auto* pAttribute = pChild->first_attribute(); pAttribute;
             pAttribute = pAttribute->next_attribute())
            description += std::string(pAttribute->name()) + "=" + pAttribute->value() + ";";
        description += Describe(*pChild) + "}";
    }
    return description;
}
} // namespace

// Parsing the text must end the process with the parse error and this excerpt.
#define EXPECT_PARSE_ERROR(source, message)                                                                  \
    do                                                                                                       \
    {                                                                                                        \
        std::string text = source;                                                                           \
        KvXmlDocument document;                                                                              \
        EXPECT_FATAL(LoadText(document, text), kFile, kFunction, 24, message);                               \
    } while (false)

// The excerpt after the error is cut at 30 characters; a shorter remainder is shown whole.
TEST(XmlDocument, ParseError_FatalWithAnExcerpt)
{
    EXPECT_PARSE_ERROR("<a x=1234567890abcdefghijklmnopqrstuvwxyz/>",
                       "Parse error : expected ' or \" with '1234567890abcdefghijklmnopqrst'");
    EXPECT_PARSE_ERROR("<a x=1/>", "Parse error : expected ' or \" with '1/>'");
    EXPECT_PARSE_ERROR("<a><b>", "Parse error : unexpected end of data with ''");
}

// Nesting the recursive parser cannot take on its stack, and trees far larger than their text,
// are refused before parsing with the reason; sources within the limits load.
TEST(XmlDocument, DeepOrDenseSources_RefusedBeforeParsing)
{
    auto repeated = [](const std::string& text, size_t count)
    {
        std::string result;
        while (count-- > 0)
            result += text;
        return result;
    };
    const std::string deep =
        "Ignoring XML source 'KvIOStream_Memory': it nests elements deeper than 256 levels";
    const std::pair<std::string, std::string> rows[] = {
        {repeated("<a>", 80000), deep},
        {repeated("<a>", 257) + repeated("</a>", 257), deep},
        {repeated("<a>", 256) + repeated("</a>", 256), ""},
        {"<r>" + repeated("<a/>", 1000000) + "</r>",
         "Ignoring XML source 'KvIOStream_Memory': parsing its 4000007 bytes would take " +
             std::to_string(1000001 * sizeof(rapidxml::xml_node<>)) +
             ", more than 8 times as many and 1048576 more"},
        // Small sources, however dense, stay within the allowance.
        {"<r>" + repeated("<a b=''/>", 1000) + "</r>", ""},
    };
    for (auto [text, message] : rows)
    {
        RecordingLog log;
        KvXmlDocument document;
        EXPECT_EQ(LoadText(document, text), message.empty()) << message;
        EXPECT_EQ(document.GetDocument().first_node() != nullptr, message.empty()) << message;
        // The reason, after the report's location.
        const std::string logged = log.m_aEntries.empty() ? "\t" : log.m_aEntries.back().m_strMessage;
        EXPECT_EQ(logged.substr(logged.find('\t') + 1), message);
    }
}

// Texts with and without references load to the tree the parser builds with its default flags.
TEST(XmlDocument, Load_BuildsTheDefaultTree)
{
    // The two last hold an '&' after a zero byte, where the parser stops.
    const std::string sources[] = {
        "<a b='1 &amp; &#65;'>x &lt; y<c/>&gt;</a>", "<a b='1 and 2'>x y<c/><![CDATA[&amp;]]></a>",
        "<a b=\"&quot;\"/>", std::string("<a b='&#x42;'/>\0&amp;", 20), std::string("<a b='1'/>\0&", 12)};
    for (const std::string& source : sources)
    {
        std::string loaded = source;
        KvXmlDocument document;
        ASSERT_TRUE(LoadText(document, loaded)) << source;
        std::string parsed = source;
        rapidxml::xml_document<> expected;
        expected.parse<0>(parsed.data());
        EXPECT_EQ(Describe(document.GetDocument()), Describe(expected)) << source;
    }
}

// The parsed size counts the text with its terminator and the tree's nodes and attributes, as
// many as the measure counts, whether or not the measure had to run before the parse.
TEST(XmlDocument, ParsedBytes_TextAndTree)
{
    std::string sequence;
    for (int element = 0; element < 300; ++element)
        sequence += "<a x='1'>text</a>";
    for (const std::string& source : {std::string("<r a='1' b='2'><s>t<![CDATA[u]]></s><v/></r>"),
                                      "<r>" + sequence + "</r>", std::string("<?xml version='1.0'?><r/>")})
    {
        std::string text = source;
        KvXmlDocument document;
        ASSERT_TRUE(LoadText(document, text)) << source;
        const KvXmlShape shape = KvXmlShape::Measure(source.c_str());
        EXPECT_EQ(document.GetParsedBytes(),
                  source.size() + 1 + shape.GetNodeCount() * sizeof(rapidxml::xml_node<>) +
                      shape.GetAttributeCount() * sizeof(rapidxml::xml_attribute<>))
            << source;
    }
}

// One walk finds what one search per name finds: the first attribute of each name, in any
// order, names that prefix others or differ from them in one character told apart, at every
// length, and null for a missing name or node.
TEST(XmlAttributes, OneWalk_FindsWhatFirstAttributeFinds)
{
    constexpr std::array<std::string_view, 8> kNames = {
        "x", "xoffset", "id", "page", "mid_length", "long_name_a", "a_name_longer_than_two_words", "nm"};
    for (std::string text :
         {"<c x='1' xoffset='2' id='3' page='4'/>", "<c page='4' id='3' x='1' xoffset='2'/>",
          "<c id='3' id='9' xoffset='2' x='1' xoffset='8'/>", "<c xo='5' x='1' other='7'/>", "<c/>",
          "<c mid_lengtx='1' mid_length='2' long_name_b='3' long_name_a='4' nn='5' nm='6' mn='7'/>",
          "<c a_name_longer_than_two_wordz='1' a_name_longer_than_two_words='2' xoffsex='3' pagf='4'/>"})
    {
        KvXmlDocument document;
        ASSERT_TRUE(LoadText(document, text));
        const rapidxml::xml_node<>* pNode = document.GetRoot("c");
        const KvXmlAttributes attributes(pNode, kNames);
        for (size_t index = 0; index < kNames.size(); ++index)
        {
            const char* expected = KvXmlAttributeText(pNode, std::string(kNames[index]).c_str());
            EXPECT_STREQ(attributes[index], expected) << text << " " << kNames[index];
        }
    }
    EXPECT_EQ(KvXmlAttributes(nullptr, kNames)[0], nullptr);
}
