#include "animtech/AnimationData.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace AnimationTechExporter;

TEST(AnimationExport, AnimationData_NameCopied)
{
    std::string name = "walk";
    AnimationData data(name.c_str(), "walk.source", 42, true);
    name[0] = 'X';
    EXPECT_EQ(data.GetName(), "walk");
}

TEST(AnimationExport, NullNames_Fatal)
{
    EXPECT_FATAL(AnimationData(nullptr, "x", 0, false), "animtech\\animationdata",
                 "AnimationTechExporter::AnimationData::AnimationData", 43, "No animation name specified");
    EXPECT_FATAL(SkeletonDescription(nullptr, 1, 2), "animtech\\skeletondescription",
                 "AnimationTechExporter::SkeletonDescription::SkeletonDescription", 40, "No name specified");
}

TEST(AnimationExport, Skeleton_BonesMadeOnceAndNeverCopied)
{
    // A bone's copy drops its owned array, so a description must never copy its bones: not
    // when it is copied itself, and not by a bone array that grows.
    EXPECT_FALSE(std::is_copy_constructible_v<SkeletonDescription>);
    EXPECT_FALSE(std::is_copy_assignable_v<SkeletonDescription>);
    SkeletonDescription rig("rig", 7, 3);
    ASSERT_EQ(rig.m_uiBoneCount, 3u);
    rig.m_aBones[2].m_aOwned = {4, 5};
    EXPECT_TRUE(rig.m_aBones[0].m_aOwned.empty());
    EXPECT_EQ(rig.m_aBones[2].m_aOwned, (std::vector<uint32_t>{4, 5}));
}

TEST(AnimationExport, SkeletonBone_CopiesLeaveTheOwnedArray)
{
    SkeletonBone bone;
    bone.m_aulValues[1] = 9;
    bone.m_afRotation[3] = 1.0f;
    bone.m_afTranslation[2] = 5.0f;
    bone.m_aOwned = {1, 2, 3};
    const SkeletonBone copy(bone);
    EXPECT_EQ(copy.m_aulValues[1], 9u);
    EXPECT_EQ(copy.m_afTranslation[2], 5.0f);
    EXPECT_TRUE(copy.m_aOwned.empty());

    SkeletonBone target;
    target.m_aOwned = {4};
    target = bone;
    EXPECT_EQ(target.m_afRotation[3], 1.0f);
    EXPECT_EQ(target.m_aOwned, std::vector<uint32_t>{4});
}

TEST(AnimationExport, CopyAssignment_SharesAndFreesOnce)
{
    AnimationData copy("copy", nullptr, 0, false);
    {
        AnimationData original("walk", nullptr, 0, true);
        original.SetSkeleton(new SkeletonDescription("rig", 1, 3));
        original.SetRotations(new AnimationTrackRotation(2, 3));
        original.SetTranslations(new AnimationTrackTranslation(2, 3));
        copy = original;
        EXPECT_EQ(copy.GetSkeleton(), original.GetSkeleton());
        EXPECT_EQ(copy.GetName(), "walk");
    }
    // The original is gone; what it shared is still the copy's (the sanitizer build checks
    // that nothing is freed twice or leaked).
    ASSERT_NE(copy.GetSkeleton(), nullptr);
    EXPECT_EQ(copy.GetSkeleton()->m_uiBoneCount, 3u);
    EXPECT_EQ(copy.GetTranslations()->m_afValues.size(), 18u);
}
