#include "math/KvEulerAngles.h"
#include "math/KvMatrix43.h"
#include "math/KvMatrix44.h"
#include "math/KvQuaternion.h"

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
// the quaternion and the angle vocabularies.
TEST(Rotation, QuaternionAndAnglesAgreeAxisByAxis)
{
    struct Case
    {
        KvVector3 m_vDegrees;
        KvQuaternion m_Rotation;
    };
    const Case cases[] = {{{90, 0, 0}, AboutAxis(0, 0, 1, 90)},
                          {{-40, 0, 0}, AboutAxis(0, 0, 1, -40)},
                          {{0, 25, 0}, AboutAxis(1, 0, 0, 25)},
                          {{0, 0, 130}, AboutAxis(0, 1, 0, 130)}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.m_vDegrees.x << ", " << c.m_vDegrees.y << ", " << c.m_vDegrees.z);
        ExpectNear(Padded(KvMath::MatrixFromRotation(c.m_Rotation, {})),
                   KvMath::RotationFromYawPitchRoll(c.m_vDegrees), 1e-6f);
    }
}

TEST(EulerAngles, ExtractionUndoesConstruction)
{
    const KvVector3 cases[] = {{0, 0, 0}, {30, 0, 0}, {-120, 45, 10}, {170, -80, -95}, {5, 89, 5}};
    for (const KvVector3& degrees : cases)
    {
        const KvVector3 back = KvMath::YawPitchRollFromRotation(KvMath::RotationFromYawPitchRoll(degrees));
        EXPECT_NEAR(back.x, degrees.x, 1e-3f) << degrees.x;
        EXPECT_NEAR(back.y, degrees.y, 1e-3f) << degrees.y;
        EXPECT_NEAR(back.z, degrees.z, 1e-3f) << degrees.z;
    }
}

// Straight up, yaw and roll turn about the same axis and only their difference shows;
// straight down, their sum.
TEST(EulerAngles, GimbalLock_RollFoldsIntoYaw)
{
    struct Case
    {
        KvVector3 m_vDegrees;
        float m_fYaw;
    };
    for (const Case& c : {Case{{20, 90, 10}, 10}, Case{{20, -90, 10}, 30}})
    {
        const KvVector3 back =
            KvMath::YawPitchRollFromRotation(KvMath::RotationFromYawPitchRoll(c.m_vDegrees));
        EXPECT_NEAR(back.x, c.m_fYaw, 1e-3f);
        EXPECT_NEAR(back.y, c.m_vDegrees.y, 1e-3f);
        EXPECT_EQ(back.z, 0.0f);
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
