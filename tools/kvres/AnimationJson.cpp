#include "AnimationJson.h"

#include <fstream>
#include <stdexcept>

using namespace AnimationTech;
using nlohmann::json;

namespace
{
// Largest animation file read: the whole text is parsed in memory.
constexpr std::uintmax_t kMaxFileSize = 512ull * 1024 * 1024;

[[noreturn]] void Fail(const std::string& where, const std::string& what)
{
    throw std::runtime_error(where + ": " + what);
}

float NumberAt(const json& array, size_t index, const std::string& where)
{
    if (!array[index].is_number())
        Fail(where, "expected a number");
    return array[index].get<float>();
}

const json& ArrayOf(const json& value, size_t size, const std::string& where)
{
    if (!value.is_array() || value.size() != size)
        Fail(where, "expected an array of " + std::to_string(size) + " numbers");
    return value;
}
} // namespace

TAnimatedSkeleton AnimationFromJson(const json& document)
{
    if (!document.is_object() || !document.contains("bones") || !document["bones"].is_array() ||
        !document.contains("keys") || !document["keys"].is_array())
        Fail("animation", "expected an object with \"bones\" and \"keys\" arrays");

    TAnimatedSkeleton animation;
    const json& bones = document["bones"];
    for (size_t index = 0; index < bones.size(); ++index)
    {
        const std::string where = "bones[" + std::to_string(index) + "]";
        const json& bone = bones[index];
        if (!bone.is_object() || !bone.value("name", json()).is_string() ||
            !bone.value("parent", json()).is_number_integer())
            Fail(where, "expected {\"name\": string, \"parent\": integer}");
        TBone record;
        record.m_strName = bone["name"].get<std::string>();
        const int64_t parent = bone["parent"].get<int64_t>();
        record.m_iParent =
            parent < -1 || parent >= static_cast<int64_t>(index) ? -2 : static_cast<int32_t>(parent);
        if (!animation.AddBone(record))
            Fail(where, "the parent must be -1 or an earlier bone");
    }

    const json& keys = document["keys"];
    for (size_t index = 0; index < keys.size(); ++index)
    {
        const std::string where = "keys[" + std::to_string(index) + "]";
        const json& key = keys[index];
        if (!key.is_object() || !key.value("time", json()).is_number() ||
            !key.value("rotations", json()).is_array() || !key.value("translations", json()).is_array())
            Fail(where, "expected {\"time\", \"rotations\", \"translations\"}");
        const json& rotations = key["rotations"];
        const json& translations = key["translations"];
        if (rotations.size() != bones.size() || translations.size() != bones.size())
            Fail(where, "expected one rotation and one translation per bone");
        TKeyFrame frame;
        frame.m_fTime = key["time"].get<float>();
        for (size_t bone = 0; bone < bones.size(); ++bone)
        {
            const std::string boneWhere = where + ".bone " + std::to_string(bone);
            const json& q = ArrayOf(rotations[bone], 4, boneWhere + " rotation");
            const json& t = ArrayOf(translations[bone], 3, boneWhere + " translation");
            TBoneKey boneKey;
            boneKey.m_Rotation = {NumberAt(q, 0, boneWhere), NumberAt(q, 1, boneWhere),
                                  NumberAt(q, 2, boneWhere), NumberAt(q, 3, boneWhere)};
            boneKey.m_Translation = {NumberAt(t, 0, boneWhere), NumberAt(t, 1, boneWhere),
                                     NumberAt(t, 2, boneWhere)};
            frame.m_aBoneKeys.push_back(boneKey);
        }
        if (!animation.AddKey(frame))
            Fail(where, "key times must be finite and ascending");
    }
    return animation;
}

json AnimationToJson(const TAnimatedSkeleton& animation)
{
    json bones = json::array();
    for (uint32_t bone = 0; bone < animation.GetBonesCount(); ++bone)
        bones.push_back({{"name", animation.GetBoneName(bone)}, {"parent", animation.GetBoneParent(bone)}});
    json keys = json::array();
    for (uint32_t index = 0; index < animation.GetKeysCount(); ++index)
    {
        const TKeyFrame* pKey = animation.GetKey(index);
        json rotations = json::array();
        json translations = json::array();
        for (const TBoneKey& boneKey : pKey->m_aBoneKeys)
        {
            const AniQuat& q = boneKey.m_Rotation;
            const Ani3DVector& t = boneKey.m_Translation;
            rotations.push_back({q.x, q.y, q.z, q.w});
            translations.push_back({t.x, t.y, t.z});
        }
        keys.push_back({{"time", pKey->m_fTime}, {"rotations", rotations}, {"translations", translations}});
    }
    return {{"bones", bones}, {"keys", keys}};
}

TAnimatedSkeleton LoadAnimationFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        Fail(path, "cannot be opened");
    if (static_cast<std::uintmax_t>(file.tellg()) > kMaxFileSize)
        Fail(path, "is larger than 512 MiB");
    file.seekg(0);
    const json document = json::parse(file, nullptr, false);
    if (document.is_discarded())
        Fail(path, "is not valid JSON");
    try
    {
        return AnimationFromJson(document);
    }
    catch (const std::runtime_error& error)
    {
        Fail(path, error.what());
    }
}
