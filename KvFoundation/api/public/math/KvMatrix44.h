#pragma once

#include <cmath>
#include <utility>

// A row-major 4x4 matrix used with row vectors (p' = p x M): rows 0 to 2 are the images of
// the axes, row 3 the position. Identity by default.
struct KvMatrix44
{
    float m[4][4] = {{1.0f, 0.0f, 0.0f, 0.0f},
                     {0.0f, 1.0f, 0.0f, 0.0f},
                     {0.0f, 0.0f, 1.0f, 0.0f},
                     {0.0f, 0.0f, 0.0f, 1.0f}};

    // this x other: applies this matrix first.
    KvMatrix44 operator*(const KvMatrix44& other) const
    {
        KvMatrix44 result;
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                result.m[row][column] = m[row][0] * other.m[0][column] + m[row][1] * other.m[1][column] +
                                        m[row][2] * other.m[2][column] + m[row][3] * other.m[3][column];
        return result;
    }
};

namespace KvMath
{
// The inverse by Gauss-Jordan elimination with partial pivoting; the identity when the
// matrix is singular (a pivot below 1e-12), so a caller never meets NaN.
inline KvMatrix44 Inverse(const KvMatrix44& matrix)
{
    constexpr float kSingularPivot = 1e-12f;
    // The matrix and the identity side by side; the elimination turns the left half into the
    // identity and the right half into the inverse.
    float a[4][8];
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
        {
            a[row][column] = matrix.m[row][column];
            a[row][column + 4] = row == column ? 1.0f : 0.0f;
        }
    for (int column = 0; column < 4; ++column)
    {
        int pivot = column;
        for (int row = column + 1; row < 4; ++row)
            if (std::fabs(a[row][column]) > std::fabs(a[pivot][column]))
                pivot = row;
        if (std::fabs(a[pivot][column]) < kSingularPivot)
            return KvMatrix44();
        std::swap(a[pivot], a[column]);
        const float scale = 1.0f / a[column][column];
        for (float& value : a[column])
            value *= scale;
        for (int row = 0; row < 4; ++row)
        {
            if (row == column)
                continue;
            const float factor = a[row][column];
            for (int k = 0; k < 8; ++k)
                a[row][k] -= factor * a[column][k];
        }
    }
    KvMatrix44 result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            result.m[row][column] = a[row][column + 4];
    return result;
}
} // namespace KvMath
