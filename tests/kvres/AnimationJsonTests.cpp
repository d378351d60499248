#include "testaccess/KvresTestAccess.h"

#include <gtest/gtest.h>

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
