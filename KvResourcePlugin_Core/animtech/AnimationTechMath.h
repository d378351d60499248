#pragma once

#include <cstdint>

namespace AnimationTech
{
struct Ani3DVector
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// (x, y, z) is the vector part, w the scalar part.
struct AniQuat
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// Row-major 4x3: rows 0..2 the rotation block, row 3 the translation.
struct AniMatrix4x3
{
    float m[12] = {};

    float& At(uint32_t row, uint32_t column) { return m[3 * row + column]; }
    float At(uint32_t row, uint32_t column) const { return m[3 * row + column]; }
};

// One bone's pose in one key: the unit of animation memory.
struct TBoneKey
{
    AniQuat m_Rotation;
    Ani3DVector m_Translation;
};

static_assert(sizeof(TBoneKey) == 28, "a bone key is seven floats");
} // namespace AnimationTech
