#include "AnimationJson.h"

#include "FileView.h"
#include "JsonTape.h"

#include <iterator>
#include <optional>
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

// The document operations the animation reader needs, over nlohmann's tree. Array elements
// are stored contiguously, so the next element is the next address.
struct TreeDocument
{
    using Value = const json*;

    static bool IsObject(Value value) { return value->is_object(); }
    static bool IsArray(Value value) { return value->is_array(); }
    static bool IsNumber(Value value) { return value->is_number(); }
    static bool IsInteger(Value value) { return value->is_number_integer(); }
    static bool IsString(Value value) { return value->is_string(); }
    static size_t Size(Value value) { return value->size(); }
    static Value First(Value array) { return &(*array)[0]; }
    static Value Next(Value element) { return element + 1; }
    static std::optional<Value> Member(Value object, const char* key)
    {
        const auto found = object->find(key);
        return found == object->end() ? std::nullopt : std::optional<Value>(&*found);
    }
    static float Float(Value value) { return value->get<float>(); }
    static int64_t Integer(Value value) { return value->get<int64_t>(); }
    static std::string String(Value value) { return value->get<std::string>(); }
};

// The same operations over a JsonTape, with nlohmann's conversions.
class TapeDocument
{
public:
    using Value = uint32_t;

    explicit TapeDocument(const JsonTape& tape) : m_Tape(tape) {}

    bool IsObject(Value value) const { return Kind(value) == JsonTape::Kind::Object; }
    bool IsArray(Value value) const { return Kind(value) == JsonTape::Kind::Array; }
    bool IsNumber(Value value) const { return IsInteger(value) || Kind(value) == JsonTape::Kind::Float; }
    bool IsInteger(Value value) const
    {
        return Kind(value) == JsonTape::Kind::Integer || Kind(value) == JsonTape::Kind::Unsigned;
    }
    bool IsString(Value value) const { return Kind(value) == JsonTape::Kind::String; }
    size_t Size(Value value) const { return m_Tape.At(value).m_uiCount; }
    Value First(Value array) const { return JsonTape::First(array); }
    Value Next(Value element) const { return m_Tape.Next(element); }
    std::optional<Value> Member(Value object, const char* key) const { return m_Tape.Member(object, key); }
    float Float(Value value) const
    {
        const JsonTape::Node& node = m_Tape.At(value);
        switch (node.m_eKind)
        {
        case JsonTape::Kind::Integer:
            return static_cast<float>(node.m_iValue);
        case JsonTape::Kind::Unsigned:
            return static_cast<float>(node.m_ulValue);
        default:
            return static_cast<float>(node.m_dValue);
        }
    }
    int64_t Integer(Value value) const
    {
        const JsonTape::Node& node = m_Tape.At(value);
        return node.m_eKind == JsonTape::Kind::Unsigned ? static_cast<int64_t>(node.m_ulValue)
                                                        : node.m_iValue;
    }
    std::string String(Value value) const { return std::string(m_Tape.Text(value)); }

private:
    JsonTape::Kind Kind(Value value) const { return m_Tape.At(value).m_eKind; }

    const JsonTape& m_Tape;
};

std::string KeyWhere(size_t key)
{
    return "keys[" + std::to_string(key) + "]";
}

std::string BoneWhere(size_t key, size_t bone)
{
    return KeyWhere(key) + ".bone " + std::to_string(bone);
}

// The numbers of an array already checked to hold size elements.
template <class Document, size_t size>
void ReadNumbers(const Document& document, typename Document::Value array, float (&out)[size], size_t key,
                 size_t bone)
{
    typename Document::Value element = document.First(array);
    for (size_t index = 0; index < size; ++index, element = document.Next(element))
    {
        if (!document.IsNumber(element))
            Fail(BoneWhere(key, bone), "expected a number");
        out[index] = document.Float(element);
    }
}

// The bones into a new animation, refusing the first offending bone.
template <class Document>
TAnimatedSkeleton ReadBones(const Document& document, typename Document::Value bones)
{
    using Value = typename Document::Value;
    TAnimatedSkeleton animation;
    const size_t boneCount = document.Size(bones);
    Value bone = boneCount > 0 ? document.First(bones) : Value();
    for (size_t index = 0; index < boneCount; ++index, bone = document.Next(bone))
    {
        const std::string where = "bones[" + std::to_string(index) + "]";
        std::optional<Value> name;
        std::optional<Value> parent;
        if (document.IsObject(bone))
        {
            name = document.Member(bone, "name");
            parent = document.Member(bone, "parent");
        }
        if (!name || !document.IsString(*name) || !parent || !document.IsInteger(*parent))
            Fail(where, "expected {\"name\": string, \"parent\": integer}");
        TBone record;
        record.m_strName = document.String(*name);
        const int64_t parentIndex = document.Integer(*parent);
        record.m_iParent = parentIndex < -1 || parentIndex >= static_cast<int64_t>(index)
                               ? -2
                               : static_cast<int32_t>(parentIndex);
        if (!animation.AddBone(record))
            Fail(where, "the parent must be -1 or an earlier bone");
    }
    return animation;
}

// Key number index into the animation, refusing its first offending element; frame is
// scratch space kept between keys.
template <class Document>
void ReadKey(const Document& document, typename Document::Value key, size_t index,
             TAnimatedSkeleton& animation, TKeyFrame& frame)
{
    using Value = typename Document::Value;
    const size_t boneCount = animation.GetBonesCount();
    std::optional<Value> time;
    std::optional<Value> rotations;
    std::optional<Value> translations;
    if (document.IsObject(key))
    {
        time = document.Member(key, "time");
        rotations = document.Member(key, "rotations");
        translations = document.Member(key, "translations");
    }
    if (!time || !document.IsNumber(*time) || !rotations || !document.IsArray(*rotations) || !translations ||
        !document.IsArray(*translations))
        Fail(KeyWhere(index), "expected {\"time\", \"rotations\", \"translations\"}");
    if (document.Size(*rotations) != boneCount || document.Size(*translations) != boneCount)
        Fail(KeyWhere(index), "expected one rotation and one translation per bone");
    frame.m_fTime = document.Float(*time);
    frame.m_aBoneKeys.resize(boneCount);
    Value rotation = boneCount > 0 ? document.First(*rotations) : Value();
    Value translation = boneCount > 0 ? document.First(*translations) : Value();
    for (size_t bone = 0; bone < boneCount; ++bone)
    {
        if (!document.IsArray(rotation) || document.Size(rotation) != 4)
            Fail(BoneWhere(index, bone) + " rotation", "expected an array of 4 numbers");
        if (!document.IsArray(translation) || document.Size(translation) != 3)
            Fail(BoneWhere(index, bone) + " translation", "expected an array of 3 numbers");
        float q[4];
        float t[3];
        ReadNumbers(document, rotation, q, index, bone);
        ReadNumbers(document, translation, t, index, bone);
        frame.m_aBoneKeys[bone].m_Rotation = {q[0], q[1], q[2], q[3]};
        frame.m_aBoneKeys[bone].m_Translation = {t[0], t[1], t[2]};
        rotation = document.Next(rotation);
        translation = document.Next(translation);
    }
    if (!animation.AddKey(frame))
        Fail(KeyWhere(index), "key times must be finite and ascending");
}

const char kBadRoot[] = "expected an object with \"bones\" and \"keys\" arrays";

// Builds the animation, refusing the first offending element in document order; the same
// checks in the same order for every document representation.
template <class Document>
TAnimatedSkeleton ReadAnimation(const Document& document, typename Document::Value root)
{
    using Value = typename Document::Value;
    std::optional<Value> bones;
    std::optional<Value> keys;
    if (document.IsObject(root))
    {
        bones = document.Member(root, "bones");
        keys = document.Member(root, "keys");
    }
    if (!bones || !document.IsArray(*bones) || !keys || !document.IsArray(*keys))
        Fail("animation", kBadRoot);
    TAnimatedSkeleton animation = ReadBones(document, *bones);
    const size_t keyCount = document.Size(*keys);
    Value key = keyCount > 0 ? document.First(*keys) : Value();
    TKeyFrame frame;
    for (size_t index = 0; index < keyCount; ++index, key = document.Next(key))
        ReadKey(document, key, index, animation, frame);
    return animation;
}

// Reads the keys while the text is parsed, each key's nodes dropped after it: the usual
// file, bones before keys, never needs the tape of its keys. The reading holds only when the
// parsed document turns out to use that bones member and that keys array; otherwise the
// caller reads the whole tape instead.
class StreamedKeys : public JsonTape::ElementSink
{
public:
    void Started(const JsonTape& tape, uint32_t array) override
    {
        const TapeDocument document(tape);
        m_uiKeys = array;
        m_Bones = tape.Member(tape.Root(), "bones");
        if (!m_Bones || !document.IsArray(*m_Bones))
            return;
        Attempt([&] { m_Animation = ReadBones(document, *m_Bones); });
    }

    void Element(const JsonTape& tape, uint32_t element) override
    {
        if (m_Bones && m_strError.empty())
            Attempt([&] { ReadKey(TapeDocument(tape), element, m_uiKeyIndex, m_Animation, m_Frame); });
        ++m_uiKeyIndex;
    }

    // The animation, or nothing where the parsed document is not the one streamed.
    std::optional<TAnimatedSkeleton> Result(const JsonTape& tape)
    {
        const TapeDocument document(tape);
        if (!m_Bones || !document.IsArray(*m_Bones) || tape.Member(tape.Root(), "bones") != m_Bones ||
            tape.Member(tape.Root(), "keys") != m_uiKeys)
            return std::nullopt;
        if (!m_strError.empty())
            throw std::runtime_error(m_strError);
        return std::move(m_Animation);
    }

private:
    // Keeps the first refusal: later ones do not count.
    template <class Read>
    void Attempt(const Read& read)
    {
        try
        {
            read();
        }
        catch (const std::runtime_error& error)
        {
            m_strError = error.what();
        }
    }

    std::optional<uint32_t> m_Bones;
    std::optional<uint32_t> m_uiKeys;
    TAnimatedSkeleton m_Animation;
    TKeyFrame m_Frame;
    uint32_t m_uiKeyIndex = 0;
    std::string m_strError;
};
} // namespace

TAnimatedSkeleton AnimationFromJson(const json& document)
{
    return ReadAnimation(TreeDocument(), &document);
}

TAnimatedSkeleton AnimationFromJsonText(std::string_view text)
{
    JsonTape tape;
    StreamedKeys streamed;
    if (!tape.Parse(text, "keys", &streamed))
        throw std::runtime_error("is not valid JSON");
    if (std::optional<TAnimatedSkeleton> animation = streamed.Result(tape))
        return std::move(*animation);
    // An unusual document (keys before bones, a repeated member, no object at all): read the
    // whole tape.
    tape.Parse(text);
    return ReadAnimation(TapeDocument(tape), tape.Root());
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
    const FileView file(path, kMaxFileSize);
    try
    {
        return AnimationFromJsonText(file.Text());
    }
    catch (const std::runtime_error& error)
    {
        Fail(path, error.what());
    }
}
