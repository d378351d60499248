#include "projectdata/KvProjectData_Core_Transform.h"
#include "support/KvReflectedData.h"

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

// A parent and a child transform, each with local placements the test sets.
class TransformHierarchy : public ::testing::Test
{
protected:
    void TearDown() override
    {
        m_pParent->m_pParentTransform = m_pChild->m_pParentTransform = nullptr;
        DestroyData(m_pChild);
        DestroyData(m_pParent);
    }
    // The child's world space, computed through the hierarchy.
    const KvTransformSpace& ChildWorld()
    {
        m_pChild->m_pParentTransform = m_pParent;
        m_pChild->CalculateEntireHierarchy();
        return *m_pChild->m_WorldTransform;
    }

    Transform* m_pParent = NewData<Transform>();
    Transform* m_pChild = NewData<Transform>();
    KvTransformSpace& m_ParentLocal = *m_pParent->m_LocalTransform;
    KvTransformSpace& m_ChildLocal = *m_pChild->m_LocalTransform;
};
} // namespace

TEST_F(TransformHierarchy, RootYaw90_RotationRowsAndWorldEqualsLocal)
{
    m_ParentLocal.m_vYPR = {90.0f, 0.0f, 0.0f};
    m_ParentLocal.m_vPosition = {1, 2, 3};
    m_pParent->CalculateWorldFromLocal();
    const KvTransformSpace& world = *m_pParent->m_WorldTransform;
    ExpectRow(world.m_RotationPosition, 0, 0, -1, 0);
    ExpectRow(world.m_RotationPosition, 1, 1, 0, 0);
    ExpectRow(world.m_RotationPosition, 2, 0, 0, 1);
    ExpectRow(world.m_RotationPosition, 3, 1, 2, 3);
    EXPECT_EQ(world.m_vYPR, m_ParentLocal.m_vYPR);
}

// The hierarchy scale carries down and scales the child's offset; a per-axis scale moves no child.
TEST_F(TransformHierarchy, ScaledParent_HierarchyScaleOnlyMovesTheChild)
{
    m_ParentLocal.m_vPosition = {10, 0, 0};
    m_ParentLocal.m_fUniformHierarchyScale = 2.0f;
    m_ParentLocal.m_vScale = {3, 3, 3};
    m_ChildLocal.m_vPosition = {1, 0, 0};
    m_ChildLocal.m_fUniformHierarchyScale = 1.5f;
    const KvTransformSpace& world = ChildWorld();
    EXPECT_EQ(world.m_vPosition, (KvVector3{12, 0, 0}));
    EXPECT_FLOAT_EQ(world.m_fUniformHierarchyScale, 3.0f);
    EXPECT_EQ(world.m_vScale, (KvVector3{3, 3, 3}));
    ExpectRow(world.m_Full, 0, 3, 0, 0);
}

TEST_F(TransformHierarchy, RotatedParent_ChildAnglesExtracted)
{
    m_ParentLocal.m_vYPR = {30, 0, 0};
    m_ChildLocal.m_vYPR = {15, 0, 0};
    m_ChildLocal.m_vPosition = {0, 1, 0};
    const KvTransformSpace& world = ChildWorld();
    EXPECT_NEAR(world.m_vYPR.x, 45.0f, 1e-4f);
    EXPECT_NEAR(world.m_vYPR.y, 0.0f, 1e-4f);
    // (0, 1, 0) through the parent's yaw-30 rows: row 1 is (sin 30, cos 30, 0).
    EXPECT_NEAR(world.m_vPosition.x, 0.5f, 1e-6f);
    EXPECT_NEAR(world.m_vPosition.y, 0.8660254f, 1e-6f);
}

TEST_F(TransformHierarchy, Pitch90_TakesTheGimbalBranch)
{
    // A pitch of exactly 90 degrees puts -1 in m5: its cosine is 0, yaw and roll merge.
    m_ChildLocal.m_vYPR = {20, 90, 10};
    const KvVector3& ypr = ChildWorld().m_vYPR;
    EXPECT_NEAR(ypr.y, 90.0f, 1e-3f);
    EXPECT_EQ(ypr.z, 0.0f);
    EXPECT_TRUE(std::isfinite(ypr.x));
}

TEST_F(TransformHierarchy, Loop_ComputesEachOnceWithoutHanging)
{
    m_ChildLocal.m_vPosition = {1, 0, 0};
    m_ParentLocal.m_vPosition = {0, 2, 0};
    m_pParent->m_pParentTransform = m_pChild;
    // The parent first, under the child's world as it stood (the origin), then the child under
    // the parent's new world.
    EXPECT_EQ(ChildWorld().m_vPosition, (KvVector3{1, 2, 0}));
    EXPECT_EQ(m_pParent->m_WorldTransform->m_vPosition, (KvVector3{0, 2, 0}));
}
