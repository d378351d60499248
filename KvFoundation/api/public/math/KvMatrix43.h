#pragma once

#include "math/KvQuaternion.h"
#include "math/KvVector.h"

#include <cstdint>

// A row-major 4x3 affine matrix used with row vectors (p' = p x M): rows 0 to 2 are the
// images of the axes, row 3 the translation; element (r, c) is m[3r + c]. The implied fourth
// column is (0, 0, 0, 1). Identity by default.
struct KvMatrix43
{
    float m[12] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};

    float& At(uint32_t row, uint32_t column) { return m[3 * row + column]; }
    float At(uint32_t row, uint32_t column) const { return m[3 * row + column]; }
};

namespace KvMath
{
// The rotation block of a unit quaternion with the translation as row 3. Each doubled factor
// is formed once (2z, then 2z * z and so on), as the pinned results expect.
inline KvMatrix43 MatrixFromRotation(const KvQuaternion& q, const KvVector3& translation)
{
    const float x2 = q.x + q.x;
    const float y2 = q.y + q.y;
    const float z2 = q.z + q.z;
    const float xx = q.x * x2;
    const float yy = q.y * y2;
    const float zz = q.z * z2;
    const float xy = q.x * y2;
    const float xz = q.x * z2;
    const float yz = q.y * z2;
    const float wx = q.w * x2;
    const float wy = q.w * y2;
    const float wz = q.w * z2;
    return {{1.0f - (yy + zz), xy - wz, xz + wy, xy + wz, 1.0f - (xx + zz), yz - wx, xz - wy, yz + wx,
             1.0f - (xx + yy), translation.x, translation.y, translation.z}};
}

// a x b as 4x4 affine matrices: a's rows through b's rotation block, and b's translation
// added to a's translation row.
inline KvMatrix43 Concatenate(const KvMatrix43& a, const KvMatrix43& b)
{
    KvMatrix43 result;
    for (uint32_t row = 0; row < 4; ++row)
    {
        for (uint32_t column = 0; column < 3; ++column)
        {
            float value = a.At(row, 0) * b.At(0, column) + a.At(row, 1) * b.At(1, column) +
                          a.At(row, 2) * b.At(2, column);
            if (row == 3)
                value += b.At(3, column);
            result.At(row, column) = value;
        }
    }
    return result;
}
} // namespace KvMath
