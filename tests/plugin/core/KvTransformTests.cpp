#include "support/KvReflectedData.h"
#include "projectdata/KvProjectData_Core_Transform.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
using Transform = KvProjectData_Core_Raw_KvObjectTransform;

void ExpectRow(const KvMatrix44& matrix, int row, float x, float y, float z)
{
    EXPECT_NEAR(matrix.m[row][0], x, 1e-6f) << "row " << row;
    EXPECT_NEAR(matrix.m[row][1], y, 1e-6f) << "row " << row;
    EXPECT_NEAR(matrix.m[row][2], z, 1e-6f) << "row " << row;
}
} // namespace

TEST(Transform, RootYaw90_RotationRowsAndWorldEqualsLocal)
{
    Transform* pTransform = NewData<Transform>();
    pTransform->m_LocalTransform->m_vYPR = {90.0f, 0.0f, 0.0f};
    pTransform->m_LocalTransform->m_vPosition = {1, 2, 3};
    pTransform->CalculateWorldFromLocal();
    const KvTransformSpace& world = *pTransform->m_WorldTransform;
    ExpectRow(world.m_RotationPosition, 0, 0, -1, 0);
    ExpectRow(world.m_RotationPosition, 1, 1, 0, 0);
    ExpectRow(world.m_RotationPosition, 2, 0, 0, 1);
    ExpectRow(world.m_RotationPosition, 3, 1, 2, 3);
    EXPECT_EQ(world.m_vYPR, pTransform->m_LocalTransform->m_vYPR);
    DestroyData(pTransform);
}

TEST(Transform, ChildUnderScaledParent_PositionAndHierarchyScale)
{
    Transform* pParent = NewData<Transform>();
    Transform* pChild = NewData<Transform>();
    pParent->m_LocalTransform->m_vPosition = {10, 0, 0};
    pParent->m_LocalTransform->m_fUniformHierarchyScale = 2.0f;
    pChild->m_LocalTransform->m_vPosition = {1, 0, 0};
    pChild->m_LocalTransform->m_fUniformHierarchyScale = 1.5f;
    pChild->m_pParentTransform = pParent;
    pChild->CalculateEntireHierarchy();
    EXPECT_EQ(pChild->m_WorldTransform->m_vPosition, (KvVector3{12, 0, 0}));
    EXPECT_FLOAT_EQ(pChild->m_WorldTransform->m_fUniformHierarchyScale, 3.0f);
    EXPECT_EQ(pChild->m_WorldTransform->m_vScale, (KvVector3{3, 3, 3}));
    ExpectRow(pChild->m_WorldTransform->m_Full, 0, 3, 0, 0);
    DestroyData(pChild);
    DestroyData(pParent);
}

TEST(Transform, ParentPerAxisScaleMovesNoChild)
{
    Transform* pParent = NewData<Transform>();
    Transform* pChild = NewData<Transform>();
    pParent->m_LocalTransform->m_vScale = {3, 3, 3};
    pChild->m_LocalTransform->m_vPosition = {1, 2, 3};
    pChild->m_pParentTransform = pParent;
    pChild->CalculateEntireHierarchy();
    EXPECT_EQ(pChild->m_WorldTransform->m_vPosition, (KvVector3{1, 2, 3}));
    DestroyData(pChild);
    DestroyData(pParent);
}

TEST(Transform, RotatedParent_ChildAnglesExtracted)
{
    Transform* pParent = NewData<Transform>();
    Transform* pChild = NewData<Transform>();
    pParent->m_LocalTransform->m_vYPR = {30, 0, 0};
    pChild->m_LocalTransform->m_vYPR = {15, 0, 0};
    pChild->m_LocalTransform->m_vPosition = {0, 1, 0};
    pChild->m_pParentTransform = pParent;
    pChild->CalculateEntireHierarchy();
    EXPECT_NEAR(pChild->m_WorldTransform->m_vYPR.x, 45.0f, 1e-4f);
    EXPECT_NEAR(pChild->m_WorldTransform->m_vYPR.y, 0.0f, 1e-4f);
    // (0, 1, 0) through the parent's yaw-30 rows: row 1 is (sin 30, cos 30, 0).
    EXPECT_NEAR(pChild->m_WorldTransform->m_vPosition.x, 0.5f, 1e-6f);
    EXPECT_NEAR(pChild->m_WorldTransform->m_vPosition.y, 0.8660254f, 1e-6f);
    DestroyData(pChild);
    DestroyData(pParent);
}

TEST(Transform, Pitch90_TakesTheGimbalBranch)
{
    // A pitch of exactly 90 degrees puts -1 in m5: its cosine is 0, yaw and roll merge.
    Transform* pParent = NewData<Transform>();
    Transform* pChild = NewData<Transform>();
    pChild->m_LocalTransform->m_vYPR = {20, 90, 10};
    pChild->m_pParentTransform = pParent;
    pChild->CalculateEntireHierarchy();
    const KvVector3& ypr = pChild->m_WorldTransform->m_vYPR;
    EXPECT_NEAR(ypr.y, 90.0f, 1e-3f);
    EXPECT_EQ(ypr.z, 0.0f);
    EXPECT_TRUE(std::isfinite(ypr.x));
    DestroyData(pChild);
    DestroyData(pParent);
}

TEST(Transform, HierarchyLoop_ComputesEachOnceWithoutHanging)
{
    Transform* pA = NewData<Transform>();
    Transform* pB = NewData<Transform>();
    pA->m_LocalTransform->m_vPosition = {1, 0, 0};
    pB->m_LocalTransform->m_vPosition = {0, 2, 0};
    pA->m_pParentTransform = pB;
    pB->m_pParentTransform = pA;
    pA->CalculateEntireHierarchy();
    // B first, under A's world as it stood (the origin), then A under B's new world.
    EXPECT_EQ(pB->m_WorldTransform->m_vPosition, (KvVector3{0, 2, 0}));
    EXPECT_EQ(pA->m_WorldTransform->m_vPosition, (KvVector3{1, 2, 0}));
    pA->m_pParentTransform = nullptr;
    pB->m_pParentTransform = nullptr;
    DestroyData(pA);
    DestroyData(pB);
}
