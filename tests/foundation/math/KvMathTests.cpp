#include "math/KvEulerAngles.h"
#include "math/KvMatrix43.h"
#include "math/KvMatrix44.h"
#include "math/KvQuaternion.h"
#include "support/KvTestData.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
KvQuaternion AboutAxis(float x, float y, float z, float degrees)
{
    const float half = degrees * 3.14159265f / 360.0f;
    return {x * std::sin(half), y * std::sin(half), z * std::sin(half), std::cos(half)};
}

void ExpectNear(const KvMatrix44& actual, const KvMatrix44& expected, float tolerance)
{
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_NEAR(actual.m[row][column], expected.m[row][column], tolerance)
                << "element " << row << ", " << column;
}

KvMatrix44 Padded(const KvMatrix43& matrix)
{
    KvMatrix44 result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            result.m[row][column] = matrix.At(row, column);
    return result;
}

KvVector3 Vector(const nlohmann::ordered_json& xyz)
{
    return {xyz[0], xyz[1], xyz[2]};
}

KvMatrix44 Placed(const KvVector3& degrees, const KvVector3& position)
{
    KvMatrix44 matrix = KvMath::RotationFromYawPitchRoll(degrees);
    matrix.m[3][0] = position.x;
    matrix.m[3][1] = position.y;
    matrix.m[3][2] = position.z;
    return matrix;
}
} // namespace

TEST(Matrix44, Inverse_UndoesPlacementsScalesAndRowSwaps_IdentityWhenSingular)
{
    KvMatrix44 scaled = Placed({10, 20, 30}, {4, -5, 6});
    for (int column = 0; column < 3; ++column)
        scaled.m[1][column] *= 0.25f;
    KvMatrix44 swapped; // zeros on the diagonal: only pivoting finds the inverse
    swapped.m[0][0] = swapped.m[1][1] = 0.0f;
    swapped.m[0][1] = swapped.m[1][0] = 2.0f;
    for (const KvMatrix44& matrix :
         {Placed({90, 0, 0}, {1, 2, 3}), Placed({-35, 60, 170}, {0, 0, 0}), scaled, swapped})
        ExpectNear(matrix * KvMath::Inverse(matrix), KvMatrix44(), 1e-5f);
    // A singular matrix has no inverse: the identity stands in.
    KvMatrix44 flat;
    flat.m[2][2] = 0.0f;
    ExpectNear(KvMath::Inverse(flat), KvMatrix44(), 0.0f);
}

TEST(Matrix43, Concatenate_IsTheAffineProductToTheBit)
{
    const KvMatrix43 child =
        KvMath::MatrixFromRotation(AboutAxis(0.6f, 0.0f, 0.8f, 37.0f), {1.5f, -2.0f, 0.25f});
    const KvMatrix43 parent =
        KvMath::MatrixFromRotation(AboutAxis(0.0f, 1.0f, 0.0f, -70.0f), {10.0f, 3.0f, -7.0f});
    const KvMatrix44 expected = Padded(child) * Padded(parent);
    const KvMatrix43 actual = KvMath::Concatenate(child, parent);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(actual.At(row, column), expected.m[row][column]) << "element " << row << ", " << column;
}

// Yaw turns about z, pitch about x, roll about y, each by the right-hand rule, in both
// the quaternion and the angle vocabularies. Rows: yaw, pitch and roll; the axis and angle.
TEST(Rotation, QuaternionAndAnglesAgreeAxisByAxis)
{
    for (const auto& row : TestDataTable("foundation/math.json", "rotations about an axis"))
    {
        SCOPED_TRACE(row.dump());
        ExpectNear(
            Padded(KvMath::MatrixFromRotation(AboutAxis(row[1][0], row[1][1], row[1][2], row[1][3]), {})),
            KvMath::RotationFromYawPitchRoll(Vector(row[0])), 1e-6f);
    }
}

// The angles a rotation is built from come back, but straight up yaw and roll turn about the
// same axis and only their difference shows; straight down, their sum. Rows: the angles, those
// extracted.
TEST(EulerAngles, ExtractionUndoesConstructionUpToGimbalLock)
{
    for (const auto& row : TestDataTable("foundation/math.json", "angles back"))
    {
        const KvVector3 back =
            KvMath::YawPitchRollFromRotation(KvMath::RotationFromYawPitchRoll(Vector(row[0])));
        EXPECT_NEAR(back.x, row[1][0], 1e-3f) << row;
        EXPECT_NEAR(back.y, row[1][1], 1e-3f) << row;
        EXPECT_NEAR(back.z, row[1][2], 1e-3f) << row;
    }
}

TEST(SlerpArc, TakesTheShorterWayAndEndsOnTheGivenRotation)
{
    const KvQuaternion quarter = AboutAxis(0, 0, 1, 90);
    const KvQuaternion opposite{-quarter.x, -quarter.y, -quarter.z, -quarter.w};
    const KvQuaternion eighth = AboutAxis(0, 0, 1, 45);
    for (const KvQuaternion& to : {quarter, opposite})
    {
        const KvQuaternion half = KvSlerpArc(KvQuaternion(), to).At(0.5f);
        EXPECT_NEAR(half.z, eighth.z, 1e-6f);
        EXPECT_NEAR(half.w, eighth.w, 1e-6f);
    }
    // Coincident rotations (q and -q are one) give the second exactly as stored.
    const KvQuaternion negatedIdentity{0.0f, 0.0f, 0.0f, -1.0f};
    EXPECT_EQ(KvSlerpArc(KvQuaternion(), negatedIdentity).At(0.3f), negatedIdentity);
}
