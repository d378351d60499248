// Feeds any text to kvres's animation reader and to nlohmann's parse with the tree reader:
// both must accept it with the same animation or refuse it with the same message.
#include "testaccess/KvresTestAccess.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace
{
std::string Outcome(AnimationTech::TAnimatedSkeleton (*read)(const std::string&), const std::string& text)
{
    try
    {
        const AnimationTech::TAnimatedSkeleton animation = read(text);
        std::string outcome;
        for (uint32_t bone = 0; bone < animation.GetBonesCount(); ++bone)
            outcome += std::string(animation.GetBoneName(bone)) + '\0' +
                       std::to_string(animation.GetBoneParent(bone));
        for (uint32_t key = 0; key < animation.GetKeysCount(); ++key)
        {
            const AnimationTech::TKeyFrame* pKey = animation.GetKey(key);
            outcome.append(reinterpret_cast<const char*>(&pKey->m_fTime), sizeof(float));
            outcome.append(reinterpret_cast<const char*>(pKey->m_aBoneKeys.data()),
                           pKey->m_aBoneKeys.size() * sizeof(AnimationTech::TBoneKey));
        }
        return outcome;
    }
    catch (const std::runtime_error& error)
    {
        return std::string("error: ") + error.what();
    }
}

AnimationTech::TAnimatedSkeleton ReadText(const std::string& text)
{
    return AnimationFromJsonText(text);
}

AnimationTech::TAnimatedSkeleton ReadTree(const std::string& text)
{
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded())
        throw std::runtime_error("is not valid JSON");
    return AnimationFromJson(document);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (Outcome(ReadText, text) != Outcome(ReadTree, text))
        std::abort();
    return 0;
}
