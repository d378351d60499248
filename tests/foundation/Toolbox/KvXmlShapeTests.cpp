#include "Foundation/KvFatalError.h"
#include "Toolbox/KvXmlShape.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>
#include <rapidxml/rapidxml.hpp>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace
{
struct tShape
{
    uint64_t m_ulDepth;
    uint64_t m_ulNodes;
    uint64_t m_ulAttributes;
    bool operator==(const tShape&) const = default;
};

std::ostream& operator<<(std::ostream& stream, const tShape& shape)
{
    return stream << "{depth " << shape.m_ulDepth << ", nodes " << shape.m_ulNodes << ", attributes "
                  << shape.m_ulAttributes << "}";
}

tShape Measured(const std::string& text)
{
    const KvXmlShape shape = KvXmlShape::Measure(text.c_str());
    return {shape.GetDepth(), shape.GetNodeCount(), shape.GetAttributeCount()};
}

// The same counts taken from the tree the parser built. The tree does not tell "<a></a>" from
// "<a/>", so its depth counts the elements that hold nodes: the parser went one level deeper
// at most.
void Walk(const rapidxml::xml_node<>& node, uint64_t depth, tShape& shape)
{
    for (const rapidxml::xml_attribute<>* pAttribute = node.first_attribute(); pAttribute;
         pAttribute = pAttribute->next_attribute())
        ++shape.m_ulAttributes;
    for (const rapidxml::xml_node<>* pChild = node.first_node(); pChild; pChild = pChild->next_sibling())
    {
        ++shape.m_ulNodes;
        const bool bElement = pChild->type() == rapidxml::node_element;
        if (bElement && pChild->first_node())
            shape.m_ulDepth = std::max(shape.m_ulDepth, depth + 1);
        Walk(*pChild, depth + 1, shape);
    }
}
} // namespace

TEST(XmlShape, ConstructsThatHideMarkup)
{
    const struct
    {
        std::string m_Text;
        tShape m_Shape;
    } rows[] = {
        {"", {0, 0, 0}},
        {"<a><b><c/></b></a>", {2, 3, 0}},
        {"\xEF\xBB\xBF<a>x<b>y</b> </a>", {2, 4, 0}},
        {"<a x='>' y=\"</a>\"><b/></a>", {1, 2, 2}},
        {"<a><!-- <b><c> --><?pi <b> ?><![CDATA[<b><c>]]></a>", {1, 2, 0}},
        {"<!DOCTYPE d [<!ENTITY e '>'> [<b>]]><a><b></b></a>", {2, 2, 0}},
        {"<!x [><a><b></b></a>", {2, 2, 0}},
        {"<?xml version='1.0'?><a\tk = 'v' ></ a ></a>", {1, 1, 1}},
        // The parser stops at the first zero byte, and at an error.
        {std::string("<a>\0<b><c>", 10), {1, 1, 0}},
        {"<a><b x=1><c><d>", {1, 2, 1}},
        {"<a/>text<b><c>", {0, 1, 0}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Measured(row.m_Text), row.m_Shape) << row.m_Text;
}

// Random texts built from the constructs above and their pieces: wherever the parser accepts a
// text, the pass counts exactly the nodes and attributes the parser built, and its depth.
TEST(XmlShape, MatchesTheParserOnRandomTexts)
{
    const std::vector<std::string> pieces = {"<a>",
                                             "</a>",
                                             "<b x='1'>",
                                             "</b>",
                                             "<c/>",
                                             "<d y=\"2\" z='3'/>",
                                             "text",
                                             " ",
                                             "\n",
                                             "<!-- <a> -->",
                                             "<![CDATA[<a>]]>",
                                             "<?p <a> ?>",
                                             "<!DOCTYPE d [<!ENTITY e '<a>'>]>",
                                             "<!x [>",
                                             "&amp;",
                                             "<e a='>'>",
                                             "</e>",
                                             "'",
                                             "\"",
                                             ">",
                                             "<",
                                             "/>",
                                             "=",
                                             "]]>",
                                             "-->",
                                             "?>",
                                             "[",
                                             "]"};
    RaisingFatalErrors raising;
    RecordingLog log;
    std::mt19937 random(20240611);
    size_t parsed = 0;
    for (int round = 0; round < 20000; ++round)
    {
        std::string text;
        const size_t count = 1 + random() % 12;
        for (size_t piece = 0; piece < count; ++piece)
            text += pieces[random() % pieces.size()];
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        rapidxml::xml_document<> document;
        try
        {
            document.parse<0>(buffer.data());
        }
        catch (const KvStructuredException&)
        {
            continue;
        }
        ++parsed;
        tShape expected{0, 0, 0};
        Walk(document, 0, expected);
        const tShape measured = Measured(text);
        ASSERT_EQ(measured.m_ulNodes, expected.m_ulNodes) << text;
        ASSERT_EQ(measured.m_ulAttributes, expected.m_ulAttributes) << text;
        ASSERT_GE(measured.m_ulDepth, expected.m_ulDepth) << text;
        ASSERT_LE(measured.m_ulDepth, expected.m_ulDepth + 1) << text;
    }
    EXPECT_GT(parsed, 1000u);
}
