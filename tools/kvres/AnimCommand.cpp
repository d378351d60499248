#include "AnimCommand.h"

#include "AnimationJson.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace AnimationTech;

namespace
{
struct AnimOptions
{
    std::string m_strFile;
    float m_fTime = 0.0f;
    float m_fPositionTolerance = 0.0f;
    float m_fAngleToleranceDegrees = 0.0f;
    std::string m_strOutput;
};

// Tolerances are compared against deviations: NaN would let every pose match and an
// infinity would let no pose differ, so only finite single-precision numbers are taken.
const CLI::Validator kFiniteTolerance(
    [](std::string& text) -> std::string
    {
        char* pEnd = nullptr;
        const float value = std::strtof(text.c_str(), &pEnd);
        if (pEnd == text.c_str() || *pEnd != '\0' || !std::isfinite(value))
            return text + " is not a finite number";
        return {};
    },
    "FINITE");

int Info(const AnimOptions& options)
{
    const TAnimatedSkeleton animation = LoadAnimationFile(options.m_strFile);
    std::printf("bones: %u\nkeys: %u\n", animation.GetBonesCount(), animation.GetKeysCount());
    if (animation.GetKeysCount() > 0)
        std::printf("length: %.6g s\n", animation.GetAnimationLength());
    std::printf("key memory: %u bytes\n", animation.GetAnimationMemorySize());
    for (uint32_t bone = 0; bone < animation.GetBonesCount(); ++bone)
        std::printf("  %3u %-24s parent %d\n", bone, animation.GetBoneName(bone),
                    animation.GetBoneParent(bone));
    return 0;
}

int Sample(const AnimOptions& options)
{
    const TAnimatedSkeleton animation = LoadAnimationFile(options.m_strFile);
    if (animation.GetKeysCount() == 0)
        throw std::runtime_error(options.m_strFile + ": the animation has no keys to sample");
    std::vector<AniMatrix4x3> matrices(animation.GetBonesCount());
    animation.GetMatrices(options.m_fTime, matrices.data());
    std::printf("time %.6g s\n", options.m_fTime);
    for (uint32_t bone = 0; bone < animation.GetBonesCount(); ++bone)
    {
        Ani3DVector translation;
        AniQuat rotation;
        animation.GetLocalBoneAtTime(bone, options.m_fTime, translation, rotation);
        const AniMatrix4x3& model = matrices[bone];
        std::printf(
            "  %-24s local t (%.6g, %.6g, %.6g) q (%.6g, %.6g, %.6g, %.6g)  model t (%.6g, %.6g, %.6g)\n",
            animation.GetBoneName(bone), translation.x, translation.y, translation.z, rotation.x, rotation.y,
            rotation.z, rotation.w, model.At(3, 0), model.At(3, 1), model.At(3, 2));
    }
    return 0;
}

int Optimize(const AnimOptions& options)
{
    TAnimatedSkeleton animation = LoadAnimationFile(options.m_strFile);
    const uint32_t before = animation.GetKeysCount();
    animation.OptimizeKeys(options.m_fPositionTolerance, options.m_fAngleToleranceDegrees);
    std::printf("keys before: %u\nkeys after: %u\n", before, animation.GetKeysCount());
    if (!options.m_strOutput.empty())
    {
        std::ofstream output(options.m_strOutput);
        output << AnimationToJson(animation).dump(1) << '\n';
        if (!output)
            throw std::runtime_error(options.m_strOutput + ": cannot be written");
    }
    return 0;
}
} // namespace

std::function<int()> AddAnimCommand(CLI::App& app)
{
    auto options = std::make_shared<AnimOptions>();
    CLI::App* pAnim = app.add_subcommand("anim", "Inspect, sample and reduce keyframed skeletal animations");
    pAnim->require_subcommand(1);

    CLI::App* pInfo = pAnim->add_subcommand("info", "Bones, keys and length of an animation");
    pInfo->add_option("file", options->m_strFile, "Animation JSON file")->required();

    CLI::App* pSample = pAnim->add_subcommand("sample", "Every bone's local and model-space pose at a time");
    pSample->add_option("file", options->m_strFile, "Animation JSON file")->required();
    pSample->add_option("--time", options->m_fTime, "Time in seconds")->required();

    CLI::App* pOptimize = pAnim->add_subcommand("optimize", "Remove keys that interpolation reproduces");
    pOptimize->add_option("file", options->m_strFile, "Animation JSON file")->required();
    pOptimize->add_option("--position-tolerance", options->m_fPositionTolerance, "Model units")
        ->required()
        ->check(kFiniteTolerance);
    pOptimize->add_option("--angle-tolerance", options->m_fAngleToleranceDegrees, "Degrees")
        ->required()
        ->check(kFiniteTolerance);
    pOptimize->add_option("-o,--output", options->m_strOutput, "Write the reduced animation here");

    return [=]() -> int
    {
        try
        {
            if (pInfo->parsed())
                return Info(*options);
            if (pSample->parsed())
                return Sample(*options);
            if (pOptimize->parsed())
                return Optimize(*options);
        }
        catch (const std::exception& error)
        {
            std::fprintf(stderr, "kvres anim: %s\n", error.what());
        }
        return 1;
    };
}
