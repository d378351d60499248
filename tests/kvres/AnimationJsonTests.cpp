#include "testaccess/KvresTestAccess.h"

#include <bit>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace
{
using nlohmann::json;

// Two bones, two keys; every number is exact in f32, so the text round-trips.
json TwoBoneWalk()
{
    return json::parse(R"({
        "bones": [{"name": "pelvis", "parent": -1}, {"name": "thigh", "parent": 0}],
        "keys": [
            {"time": 0.0, "rotations": [[0, 0, 0, 1], [0.5, 0.5, 0.5, 0.5]],
             "translations": [[0, 1, 0], [0.25, -0.5, 0]]},
            {"time": 0.5, "rotations": [[0, 0, 0, 1], [0, 0, 0, 1]],
             "translations": [[0, 1.5, 0], [0.25, -0.5, 0]]}]})");
}

std::string ErrorOf(const json& document)
{
    try
    {
        AnimationFromJson(document);
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "";
}
} // namespace

TEST(AnimationJson, ReadThenWritten_GivesTheSameDocument)
{
    const json document = TwoBoneWalk();
    const AnimationTech::TAnimatedSkeleton animation = AnimationFromJson(document);
    EXPECT_EQ(animation.GetBonesCount(), 2u);
    EXPECT_EQ(animation.GetKeysCount(), 2u);
    EXPECT_EQ(AnimationToJson(animation), document);
}

// Each refusal names the first offending element, so a user can find it in a large file.
TEST(AnimationJson, MalformedDocuments_RefusedNamingTheElement)
{
    const std::tuple<const char*, json, const char*> cases[] = {
        {"/bones", json::object(), "animation: expected an object with \"bones\" and \"keys\" arrays"},
        {"/bones/1/name", 7, "bones[1]: expected {\"name\": string, \"parent\": integer}"},
        {"/bones/1/parent", 1, "bones[1]: the parent must be -1 or an earlier bone"},
        {"/bones/1/parent", -2, "bones[1]: the parent must be -1 or an earlier bone"},
        {"/keys/0/time", "0", "keys[0]: expected {\"time\", \"rotations\", \"translations\"}"},
        {"/keys/1/rotations", json::array({json::array({0, 0, 0, 1})}),
         "keys[1]: expected one rotation and one translation per bone"},
        {"/keys/0/rotations/1", json::array({0, 0, 1}),
         "keys[0].bone 1 rotation: expected an array of 4 numbers"},
        {"/keys/1/translations/0/2", "z", "keys[1].bone 0: expected a number"},
        {"/keys/1/time", -1.0, "keys[1]: key times must be finite and ascending"},
    };
    for (const auto& [pointer, value, expected] : cases)
    {
        json document = TwoBoneWalk();
        document[json::json_pointer(pointer)] = value;
        EXPECT_EQ(ErrorOf(document), expected) << pointer;
    }
}

namespace
{
// What a reader makes of a text: the refusal, or every bone and key value to the bit.
std::string OutcomeOf(const std::function<AnimationTech::TAnimatedSkeleton()>& read)
{
    try
    {
        const AnimationTech::TAnimatedSkeleton animation = read();
        std::string outcome;
        for (uint32_t bone = 0; bone < animation.GetBonesCount(); ++bone)
            outcome += std::string(animation.GetBoneName(bone)) + "@" +
                       std::to_string(animation.GetBoneParent(bone)) + ";";
        for (uint32_t key = 0; key < animation.GetKeysCount(); ++key)
        {
            const AnimationTech::TKeyFrame* pKey = animation.GetKey(key);
            outcome += std::to_string(std::bit_cast<uint32_t>(pKey->m_fTime)) + ":";
            for (const AnimationTech::TBoneKey& boneKey : pKey->m_aBoneKeys)
            {
                for (float value :
                     {boneKey.m_Rotation.x, boneKey.m_Rotation.y, boneKey.m_Rotation.z, boneKey.m_Rotation.w,
                      boneKey.m_Translation.x, boneKey.m_Translation.y, boneKey.m_Translation.z})
                    outcome += std::to_string(std::bit_cast<uint32_t>(value)) + ",";
            }
        }
        return outcome;
    }
    catch (const std::runtime_error& error)
    {
        return std::string("error: ") + error.what();
    }
}

// The tree reader behind nlohmann's parser, as the tool read files before.
std::string TreeOutcome(const std::string& text)
{
    return OutcomeOf(
        [&]
        {
            const json document = json::parse(text, nullptr, false);
            if (document.is_discarded())
                throw std::runtime_error("is not valid JSON");
            return AnimationFromJson(document);
        });
}

std::string TextOutcome(const std::string& text)
{
    return OutcomeOf([&] { return AnimationFromJsonText(text); });
}

const char kTwoBoneText[] =
    "{\"bones\": [{\"name\": \"pel\\u00e9vis\", \"parent\": -1}, {\"name\": \"thigh\", \"parent\": 0}],\n"
    " \"keys\": [{\"time\": 0, \"rotations\": [[0, 0, 0, 1], [0.5, 0.5, 0.5, 0.5]],\n"
    "            \"translations\": [[0, 1e-3, -0.0], [0.25, -5E+2, 1]]},\n"
    "           {\"time\": 0.5, \"rotations\": [[0, 0, 0, 1], [0, 0, 0, 1]], \"translations\": [[0, 1.5, 0], "
    "[2, 3, 4]]}]}";
} // namespace

// The text reader replaces nlohmann's parser for speed: whatever the text, it must accept
// what the tree reader accepts, with the same values to the bit, and refuse the rest with the
// same message. Cases: every truncation and many single-byte changes of a valid file, and the
// corners of JSON that a hand-written parser gets wrong.
TEST(AnimationJson, TextReader_AgreesWithTheTreeReaderOnAnyText)
{
    const std::string valid = kTwoBoneText;
    std::vector<std::string> texts;
    for (size_t length = 0; length <= valid.size(); ++length)
        texts.push_back(valid.substr(0, length));
    for (size_t position = 0; position < valid.size(); ++position)
    {
        for (char replacement : std::string("\"{}[],:0-e.+ x\\\xff\x01"))
        {
            std::string changed = valid;
            changed[position] = replacement;
            texts.push_back(changed);
        }
    }
    const std::string body = valid.substr(1);
    const std::string corners[] = {
        "\xEF\xBB\xBF" + valid,
        "\xEF\xBB" + valid,
        " \t\r\n" + valid + " \n",
        valid + " x",
        // nlohmann reads a NUL byte as the end of the input.
        valid + "\0 x"s,
        valid.substr(0, 9) + "\0"s + valid.substr(9),
        // Duplicate keys: the last one counts, wherever it is.
        "{\"bones\": 5, " + body,
        "{\"keys\": [], " + body,
        R"({"bones": [], "keys": [], "keys": {}})",
        R"({"bones": [{"name": "a", "parent": -1, "name": 7}], "keys": []})",
        // Integers and their limits.
        R"({"bones": [{"name": "a", "parent": 18446744073709551615}], "keys": []})",
        R"({"bones": [{"name": "a", "parent": 18446744073709551616}], "keys": []})",
        R"({"bones": [{"name": "a", "parent": -9223372036854775809}], "keys": []})",
        R"({"bones": [{"name": "a", "parent": -1.0}], "keys": []})",
        R"({"bones": [{"name": "a", "parent": -0}], "keys": []})",
        R"({"bones": [{"name": "a", "parent": -1}], "keys": [{"time": 1e39, "rotations": [[0,0,0,1]], "translations": [[0,0,0]]}]})",
        R"({"bones": [{"name": "a", "parent": -1}], "keys": [{"time": -0, "rotations": [[1e400,0,0,1]], "translations": [[0,0,0]]}]})",
        R"({"bones": [{"name": "a", "parent": -1}], "keys": [{"time": 0, "rotations": [[1e-400,-0.0,16777217,9007199254740993]], "translations": [[18446744073709551615,-9223372036854775808,1.00000005960464477539]]}]})",
        R"({"bones": [{"name": "a", "parent": -1}], "keys": [{"time": 01, "rotations": [], "translations": []}]})",
        // Strings: escapes, surrogates, UTF-8 and control bytes.
        R"({"bones": [{"name": "\ud83d\ude00\/\b\f\n\r\t\"\\\u0000", "parent": -1}], "keys": []})",
        R"({"bones": [{"name": "\ud83d", "parent": -1}], "keys": []})",
        R"({"bones": [{"name": "\ude00", "parent": -1}], "keys": []})",
        R"({"bones": [{"name": "\u12G4", "parent": -1}], "keys": []})",
        "{\"bones\": [{\"name\": \"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\", \"parent\": -1}], \"keys\": []}",
        "{\"bones\": [{\"name\": \"\xC0\xAF\", \"parent\": -1}], \"keys\": []}",
        "{\"bones\": [{\"name\": \"\xED\xA0\x80\", \"parent\": -1}], \"keys\": []}",
        "{\"bones\": [{\"name\": \"\xF4\x90\x80\x80\", \"parent\": -1}], \"keys\": []}",
        "{\"bones\": [{\"name\": \"a\tb\", \"parent\": -1}], \"keys\": []}",
        // Members the reader ignores are still checked, however deep.
        R"({"extra": [true, false, null, {"x": [[[]]]}], "bones": [], "keys": []})",
        "{\"extra\": " + std::string(100000, '[') + std::string(100000, ']') +
            ", \"bones\": [], \"keys\": []}",
        R"({"extra": [1,], "bones": [], "keys": []})",
        R"({"extra": tru, "bones": [], "keys": []})",
        R"([])",
        R"("text")",
        R"(null)",
        "",
    };
    texts.insert(texts.end(), std::begin(corners), std::end(corners));
    for (const std::string& text : texts)
        ASSERT_EQ(TextOutcome(text), TreeOutcome(text)) << text;
}
