#include "Foundation/KvFatalError.h"
#include "support/KvTestReports.h"
#include "testaccess/KvFoundationTestAccess.h"

#include <gtest/gtest.h>
#include <random>
#include <rapidxml/rapidxml.hpp>
#include <sstream>
#include <tuple>

namespace
{
// Depth, nodes, attributes.
using Shape = std::tuple<uint64_t, uint64_t, uint64_t>;

Shape Measured(const std::string& text)
{
    const KvXmlShape shape = KvXmlShape::Measure(text.c_str());
    return {shape.GetDepth(), shape.GetNodeCount(), shape.GetAttributeCount()};
}

// The counts of the tree the parser built. The tree does not tell "<a></a>" from "<a/>", so its
// depth counts the elements that hold nodes: the parser went one level deeper at most.
void Walk(const rapidxml::xml_node<>& node, uint64_t level, Shape& shape)
{
    for (auto* pAttribute = node.first_attribute(); pAttribute; pAttribute = pAttribute->next_attribute())
        ++std::get<2>(shape);
    for (auto* pChild = node.first_node(); pChild; pChild = pChild->next_sibling())
    {
        ++std::get<1>(shape);
        if (pChild->type() == rapidxml::node_element && pChild->first_node())
            std::get<0>(shape) = std::max(std::get<0>(shape), level + 1);
        Walk(*pChild, level + 1, shape);
    }
}

// Random texts of constructs that hide markup and of their pieces, the same on every run.
std::vector<std::string> RandomTexts()
{
    std::vector<std::string> pieces;
    std::istringstream list(
        "<a>|</a>|<b x='1'>|</b>|<c/>|<d y=\"2\" z='3'/>|text| |\n|<!-- <a> -->|<![CDATA[<a>]]>|"
        "<?p <a> ?>|<!DOCTYPE d [<!ENTITY e '<a>'>]>|<!x [>|&amp;|<e a='>'>|</e>|'|\"|>|<|/>|=|"
        "]]>|-->|?>|[|]|\xEF\xBB\xBF");
    for (std::string piece; std::getline(list, piece, '|');)
        pieces.push_back(piece);
    std::mt19937 random(20240611);
    std::vector<std::string> texts(20000);
    for (std::string& text : texts)
        for (size_t count = 1 + random() % 12; count > 0; --count)
            text += pieces[random() % pieces.size()];
    return texts;
}
} // namespace

// Random texts of constructs that hide markup and of their pieces: wherever the parser accepts
// a text, the pass counts the nodes and attributes it built, and its depth; where the parser
// stops (an error, a zero byte), the pass stops too.
TEST(XmlShape, MatchesTheParser)
{
    EXPECT_EQ(Measured(std::string("<a>\0<b><c>", 10)), Shape(1, 1, 0));
    EXPECT_EQ(Measured("<a><b x=1><c><d>"), Shape(1, 2, 1));
    RaisingFatalErrors raising;
    RecordingLog log;
    size_t parsed = 0;
    for (const std::string& text : RandomTexts())
    {
        std::vector<char> buffer(text.c_str(), text.c_str() + text.size() + 1);
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
        Shape built{0, 0, 0};
        Walk(document, 0, built);
        const auto [depth, nodes, attributes] = Measured(text);
        ASSERT_EQ(std::tie(nodes, attributes), std::tie(std::get<1>(built), std::get<2>(built))) << text;
        ASSERT_TRUE(depth == std::get<0>(built) || depth == std::get<0>(built) + 1) << text;
    }
    EXPECT_GT(parsed, 1000u);
}

// The bounds never fall below the measure, on any text, and count each character once however
// the text falls into the pass's blocks; past a depth limit the count may stop, above the limit.
TEST(XmlShapeBound, NeverBelowTheMeasure)
{
    for (const std::string& text : RandomTexts())
    {
        const KvXmlShape shape = KvXmlShape::Measure(text.c_str());
        const KvXmlShapeBound bound = KvXmlShapeBound::Count(text.data(), text.size(), UINT64_MAX);
        ASSERT_GE(bound.GetDepth(), shape.GetDepth()) << text;
        ASSERT_GE(bound.GetNodeCount(), shape.GetNodeCount()) << text;
        ASSERT_GE(bound.GetAttributeCount(), shape.GetAttributeCount()) << text;
    }
    for (size_t padding = 0; padding < 40; ++padding)
    {
        const std::string text =
            std::string(padding, ' ') + "<a b='1'/><c d='/'>" + std::string(padding, ' ');
        const KvXmlShapeBound bound = KvXmlShapeBound::Count(text.data(), text.size(), UINT64_MAX);
        EXPECT_EQ(Shape(bound.GetDepth(), bound.GetNodeCount(), bound.GetAttributeCount()), Shape(1, 5, 3))
            << padding;
    }
    std::string deep;
    for (int level = 0; level < 100000; ++level)
        deep += "<a>";
    const uint64_t depth = KvXmlShapeBound::Count(deep.data(), deep.size(), 256).GetDepth();
    EXPECT_GT(depth, 256u);
    EXPECT_LT(depth, 100000u);
}
