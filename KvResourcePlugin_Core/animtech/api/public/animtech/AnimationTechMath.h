#pragma once

#include "math/KvMatrix43.h"
#include "math/KvQuaternion.h"
#include "math/KvVector.h"

namespace AnimationTech
{
// The animation tech's names for the shared math types: its interface speaks of these.
using Ani3DVector = KvVector3;
using AniQuat = KvQuaternion;
using AniMatrix4x3 = KvMatrix43;

// One bone's pose in one key: the unit of animation memory.
struct TBoneKey
{
    AniQuat m_Rotation;
    Ani3DVector m_Translation;
};

static_assert(sizeof(TBoneKey) == 28, "a bone key is seven floats");
} // namespace AnimationTech
