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
// The bone matrix of a unit quaternion with the translation as row 3, written for any number
// type with float arithmetic (a float, or several floats side by side) so that every caller
// forms the same products in the same order. Each doubled factor is formed once (2z, then
// 2z * z and so on), as the pinned results expect.
template <class T>
inline void FillMatrixFromRotation(const T& x, const T& y, const T& z, const T& w, const T& tx, const T& ty,
                                   const T& tz, T* out)
{
    const T x2 = x + x;
    const T y2 = y + y;
    const T z2 = z + z;
    const T xx = x * x2;
    const T yy = y * y2;
    const T zz = z * z2;
    const T xy = x * y2;
    const T xz = x * z2;
    const T yz = y * z2;
    const T wx = w * x2;
    const T wy = w * y2;
    const T wz = w * z2;
    out[0] = 1.0f - (yy + zz);
    out[1] = xy - wz;
    out[2] = xz + wy;
    out[3] = xy + wz;
    out[4] = 1.0f - (xx + zz);
    out[5] = yz - wx;
    out[6] = xz - wy;
    out[7] = yz + wx;
    out[8] = 1.0f - (xx + yy);
    out[9] = tx;
    out[10] = ty;
    out[11] = tz;
}

// One row of a (three elements) through b's rotation block.
template <class T>
inline void FillRowTimesRotation(const T* aRow, const T* b, T* out)
{
    out[0] = aRow[0] * b[0] + aRow[1] * b[3] + aRow[2] * b[6];
    out[1] = aRow[0] * b[1] + aRow[1] * b[4] + aRow[2] * b[7];
    out[2] = aRow[0] * b[2] + aRow[1] * b[5] + aRow[2] * b[8];
}

// a x b as 4x4 affine matrices (12 elements each, row-major): a's rows through b's rotation
// block, and b's translation added to a's translation row. out must not alias a or b.
// Written out row by row so that the compiler keeps it in registers.
template <class T>
inline void FillConcatenation(const T* a, const T* b, T* out)
{
    FillRowTimesRotation(a, b, out);
    FillRowTimesRotation(a + 3, b, out + 3);
    FillRowTimesRotation(a + 6, b, out + 6);
    FillRowTimesRotation(a + 9, b, out + 9);
    out[9] = out[9] + b[9];
    out[10] = out[10] + b[10];
    out[11] = out[11] + b[11];
}

inline KvMatrix43 MatrixFromRotation(const KvQuaternion& q, const KvVector3& translation)
{
    KvMatrix43 result;
    FillMatrixFromRotation(q.x, q.y, q.z, q.w, translation.x, translation.y, translation.z, result.m);
    return result;
}

inline KvMatrix43 Concatenate(const KvMatrix43& a, const KvMatrix43& b)
{
    KvMatrix43 result;
    FillConcatenation(a.m, b.m, result.m);
    return result;
}
} // namespace KvMath
