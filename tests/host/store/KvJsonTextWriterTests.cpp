#include "store/KvJsonTextWriter.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

namespace
{
using Json = nlohmann::ordered_json;

// Plays a document back as writer events.
void Replay(const Json& json, KvJsonWriter& writer)
{
    switch (json.type())
    {
    case Json::value_t::object:
        writer.BeginObject();
        for (const auto& [key, value] : json.items())
        {
            writer.Key(key);
            Replay(value, writer);
        }
        writer.EndObject();
        break;
    case Json::value_t::array:
        writer.BeginArray();
        for (const Json& element : json)
            Replay(element, writer);
        writer.EndArray();
        break;
    case Json::value_t::boolean:
        writer.Bool(json.get<bool>());
        break;
    case Json::value_t::number_unsigned:
        writer.Unsigned(json.get<uint64_t>());
        break;
    case Json::value_t::number_integer:
        writer.Signed(json.get<int64_t>());
        break;
    case Json::value_t::number_float:
        writer.Double(json.get<double>());
        break;
    case Json::value_t::string:
        writer.String(json.get_ref<const std::string&>());
        break;
    default:
        writer.Null();
        break;
    }
}

std::string WriteText(const Json& json, int indent)
{
    std::ostringstream out;
    KvJsonTextWriter writer(out, indent);
    Replay(json, writer);
    EXPECT_TRUE(writer.Flush());
    return out.str();
}

// Random documents of every value kind, with the texts and numbers where formats go wrong:
// control characters, quotes, multi-byte characters, whole and tiny and huge doubles.
class RandomDocuments
{
public:
    explicit RandomDocuments(uint32_t seed) : m_Random(seed) {}

    Json Next(int depth = 0)
    {
        switch (Pick(depth < 4 ? 9 : 7))
        {
        case 0:
            return nullptr;
        case 1:
            return Pick(2) == 1;
        case 2:
            return static_cast<uint64_t>(m_Random()) << Pick(33);
        case 3:
            return -static_cast<int64_t>(m_Random() >> Pick(32)) - 1;
        case 4:
            return std::bit_cast<float>(static_cast<uint32_t>(m_Random()));
        case 5:
            return Pick(2) ? std::ldexp(static_cast<double>(m_Random()), static_cast<int>(Pick(200)) - 100)
                           : static_cast<double>(m_Random() % 100000);
        case 6:
            return Text();
        case 7:
        {
            Json object = Json::object();
            for (size_t count = Pick(5); count > 0; --count)
                object[Text()] = Next(depth + 1);
            return object;
        }
        default:
        {
            Json array = Json::array();
            for (size_t count = Pick(5); count > 0; --count)
                array.push_back(Next(depth + 1));
            return array;
        }
        }
    }

private:
    size_t Pick(size_t count) { return m_Random() % count; }

    std::string Text()
    {
        static const std::vector<std::string> kPieces = []
        {
            std::vector<std::string> pieces;
            std::istringstream list(
                "a|Z| |\"|\\|/|\x01|\x1f|\x7f|\b|\t|\n|\f|\r|\xc3\xa9|\xe2\x82\xac|\xf0\x9f\x8e\xae|~|$ref");
            for (std::string piece; std::getline(list, piece, '|');)
                pieces.push_back(piece);
            return pieces;
        }();
        std::string text;
        for (size_t count = Pick(8); count > 0; --count)
            text += kPieces[Pick(kPieces.size())];
        return text;
    }

    std::mt19937 m_Random;
};
} // namespace

// The streamed text is what dumping the document gives, in the compact, flat and indented
// forms alike.
TEST(JsonTextWriter, RandomDocuments_SameBytesAsTheDocumentDump)
{
    RandomDocuments documents(20240611);
    for (int round = 0; round < 300; ++round)
    {
        const Json document = documents.Next();
        for (const int indent : {-1, 0, 2, 4})
            ASSERT_EQ(WriteText(document, indent), document.dump(indent)) << "indent " << indent;
    }
}

TEST(JsonTextWriter, Edges_SameBytesAsTheDocumentDump)
{
    const Json cases[] = {
        Json::object(),
        Json::array(),
        Json::parse(R"({"a": {}, "b": [], "c": [[], {}, [[]]], "": null})"),
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::infinity(),
        -0.0,
        1e16,
        1e15,
        0.0001,
        0.00001,
        std::numeric_limits<uint64_t>::max(),
        std::numeric_limits<int64_t>::min(),
        std::string(100000, 'x') + "\n",
    };
    for (const Json& document : cases)
        for (const int indent : {-1, 2})
            EXPECT_EQ(WriteText(document, indent), document.dump(indent));
}

// Rebuilding the document from its events gives it back, value kinds included.
TEST(JsonDocumentWriter, RandomDocuments_RebuiltEqual)
{
    RandomDocuments documents(7);
    for (int round = 0; round < 100; ++round)
    {
        const Json document = documents.Next();
        KvJsonDocumentWriter writer;
        Replay(document, writer);
        const Json rebuilt = writer.TakeDocument();
        ASSERT_EQ(rebuilt.dump(), document.dump());
    }
}

TEST(JsonTextWriter, FailingStream_Reported)
{
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    KvJsonTextWriter writer(out, 2);
    writer.String("lost");
    EXPECT_FALSE(writer.Flush());
}
