#pragma once

#include "math/KvMathConstants.h"
#include "math/KvMatrix44.h"
#include "math/KvVector.h"

#include <algorithm>
#include <cmath>

// Orientation as yaw, pitch, roll in degrees (x = yaw, y = pitch, z = roll), the way the
// transforms store it, to and from the rotation rows of a KvMatrix44 (m0 to m8 row by row).
namespace KvMath
{
// Rows 0 to 2 the rotation; row 3 stays (0, 0, 0, 1).
inline KvMatrix44 RotationFromYawPitchRoll(const KvVector3& degrees)
{
    const float yaw = degrees.x * kDegreesToRadians;
    const float pitch = degrees.y * kDegreesToRadians;
    const float roll = degrees.z * kDegreesToRadians;
    const float cy = std::cos(yaw), sy = std::sin(yaw);
    const float cp = std::cos(pitch), sp = std::sin(pitch);
    const float cr = std::cos(roll), sr = std::sin(roll);
    KvMatrix44 rotation;
    const float rows[3][3] = {{sp * sr * sy + cy * cr, sp * sr * cy - sy * cr, sr * cp},
                              {sy * cp, cy * cp, -sp},
                              {sp * cr * sy - sr * cy, sp * cr * cy + sy * sr, cp * cr}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            rotation.m[row][column] = rows[row][column];
    return rotation;
}

// Near a pitch of +-90 degrees (cosine of the pitch at most 0.005) yaw and roll cannot be told
// apart: roll is 0 and yaw takes the whole turn.
inline KvVector3 YawPitchRollFromRotation(const KvMatrix44& matrix)
{
    constexpr float kGimbalLockCosine = 0.005f;
    const float m0 = matrix.m[0][0], m1 = matrix.m[0][1], m2 = matrix.m[0][2];
    const float m3 = matrix.m[1][0], m4 = matrix.m[1][1], m5 = matrix.m[1][2];
    const float m8 = matrix.m[2][2];
    // Rounding may take m5 a hair past 1; asin would give NaN.
    const float a = std::asin(std::clamp(m5, -1.0f, 1.0f));
    const float c = std::cos(a);
    float yaw = 0.0f;
    float roll = 0.0f;
    if (std::fabs(c) > kGimbalLockCosine)
    {
        yaw = std::atan2(m3 / c, m4 / c);
        roll = std::atan2(m2 / c, m8 / c);
    }
    else
        yaw = std::atan2(-m1, m0);
    return {yaw * kRadiansToDegrees, -a * kRadiansToDegrees, roll * kRadiansToDegrees};
}
} // namespace KvMath
