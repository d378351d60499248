#pragma once

#include "Foundation/KvColor.h"
#include "Foundation/KvSharedTypeTraits.h"
#include "math/KvQuaternion.h"
#include "math/KvVector.h"

#include <cstdint>

// Sink of immediate-mode debug drawing. Positions are world space unless the name says 2D
// (screen pixels); angles are degrees; sizes are world units.
class KvDebugDrawInterface
{
public:
    virtual void DrawLine(const KvVector3& from, const KvVector3& to, KvColor color) = 0;
    // Pairs of points: 0-1, 2-3, ...
    virtual void DrawLines(const KvVector3* pPoints, uint32_t pointCount, KvColor color) = 0;
    virtual void DrawPolyline(const KvVector3* pPoints, uint32_t pointCount, bool bClosed, KvColor color) = 0;
    virtual void DrawArrow(const KvVector3& from, const KvVector3& to, float headSize, KvColor color) = 0;
    virtual void DrawRay(const KvVector3& origin, const KvVector3& direction, float length,
                         KvColor color) = 0;
    virtual void DrawPoint(const KvVector3& position, float size, KvColor color) = 0;
    virtual void DrawCross(const KvVector3& position, float size, KvColor color) = 0;
    virtual void DrawAxes(const KvVector3& position, const KvQuaternion& rotation, float size) = 0;
    virtual void DrawBox(const KvVector3& min, const KvVector3& max, KvColor color) = 0;
    virtual void DrawSolidBox(const KvVector3& min, const KvVector3& max, KvColor color) = 0;
    virtual void DrawOrientedBox(const KvVector3& center, const KvVector3& halfExtents,
                                 const KvQuaternion& rotation, KvColor color) = 0;
    virtual void DrawSphere(const KvVector3& center, float radius, KvColor color) = 0;
    virtual void DrawSolidSphere(const KvVector3& center, float radius, KvColor color) = 0;
    virtual void DrawCircle(const KvVector3& center, const KvVector3& normal, float radius,
                            KvColor color) = 0;
    virtual void DrawSolidCircle(const KvVector3& center, const KvVector3& normal, float radius,
                                 KvColor color) = 0;
    virtual void DrawArc(const KvVector3& center, const KvVector3& normal, const KvVector3& startDirection,
                         float angleDegrees, float radius, KvColor color) = 0;
    virtual void DrawCylinder(const KvVector3& base, const KvVector3& top, float radius, KvColor color) = 0;
    virtual void DrawCapsule(const KvVector3& a, const KvVector3& b, float radius, KvColor color) = 0;
    virtual void DrawCone(const KvVector3& apex, const KvVector3& direction, float length, float angleDegrees,
                          KvColor color) = 0;
    virtual void DrawFrustum(const KvVector3& position, const KvQuaternion& rotation, float fovDegrees,
                             float aspect, float nearDistance, float farDistance, KvColor color) = 0;
    virtual void DrawTriangle(const KvVector3& a, const KvVector3& b, const KvVector3& c, KvColor color) = 0;
    virtual void DrawSolidTriangle(const KvVector3& a, const KvVector3& b, const KvVector3& c,
                                   KvColor color) = 0;
    virtual void DrawQuad(const KvVector3& a, const KvVector3& b, const KvVector3& c, const KvVector3& d,
                          KvColor color) = 0;
    virtual void DrawPlane(const KvVector3& point, const KvVector3& normal, float size, KvColor color) = 0;
    virtual void DrawGrid(const KvVector3& center, const KvVector3& normal, float cellSize,
                          uint32_t cellCount, KvColor color) = 0;
    virtual void DrawText3D(const KvVector3& position, const char* text, KvColor color) = 0;
    virtual void DrawText2D(float x, float y, const char* text, KvColor color) = 0;
    virtual void DrawLine2D(const KvVector2& from, const KvVector2& to, KvColor color) = 0;
    virtual void DrawRect2D(const KvVector2& min, const KvVector2& max, KvColor color) = 0;
    virtual void DrawSolidRect2D(const KvVector2& min, const KvVector2& max, KvColor color) = 0;
    virtual void DrawCircle2D(const KvVector2& center, float radius, KvColor color) = 0;

    virtual ~KvDebugDrawInterface() = default;
};

KV_DECLARE_SHARED_TYPE(KvDebugDrawInterface, "KvDebugDrawInterface", "instance",
                       "class KvDebugDrawInterface");

// Draws nothing; stands in while no sink is published.
class KvDebugDrawStub : public KvDebugDrawInterface
{
public:
    void DrawLine(const KvVector3&, const KvVector3&, KvColor) override {}
    void DrawLines(const KvVector3*, uint32_t, KvColor) override {}
    void DrawPolyline(const KvVector3*, uint32_t, bool, KvColor) override {}
    void DrawArrow(const KvVector3&, const KvVector3&, float, KvColor) override {}
    void DrawRay(const KvVector3&, const KvVector3&, float, KvColor) override {}
    void DrawPoint(const KvVector3&, float, KvColor) override {}
    void DrawCross(const KvVector3&, float, KvColor) override {}
    void DrawAxes(const KvVector3&, const KvQuaternion&, float) override {}
    void DrawBox(const KvVector3&, const KvVector3&, KvColor) override {}
    void DrawSolidBox(const KvVector3&, const KvVector3&, KvColor) override {}
    void DrawOrientedBox(const KvVector3&, const KvVector3&, const KvQuaternion&, KvColor) override {}
    void DrawSphere(const KvVector3&, float, KvColor) override {}
    void DrawSolidSphere(const KvVector3&, float, KvColor) override {}
    void DrawCircle(const KvVector3&, const KvVector3&, float, KvColor) override {}
    void DrawSolidCircle(const KvVector3&, const KvVector3&, float, KvColor) override {}
    void DrawArc(const KvVector3&, const KvVector3&, const KvVector3&, float, float, KvColor) override {}
    void DrawCylinder(const KvVector3&, const KvVector3&, float, KvColor) override {}
    void DrawCapsule(const KvVector3&, const KvVector3&, float, KvColor) override {}
    void DrawCone(const KvVector3&, const KvVector3&, float, float, KvColor) override {}
    void DrawFrustum(const KvVector3&, const KvQuaternion&, float, float, float, float, KvColor) override {}
    void DrawTriangle(const KvVector3&, const KvVector3&, const KvVector3&, KvColor) override {}
    void DrawSolidTriangle(const KvVector3&, const KvVector3&, const KvVector3&, KvColor) override {}
    void DrawQuad(const KvVector3&, const KvVector3&, const KvVector3&, const KvVector3&, KvColor) override {}
    void DrawPlane(const KvVector3&, const KvVector3&, float, KvColor) override {}
    void DrawGrid(const KvVector3&, const KvVector3&, float, uint32_t, KvColor) override {}
    void DrawText3D(const KvVector3&, const char*, KvColor) override {}
    void DrawText2D(float, float, const char*, KvColor) override {}
    void DrawLine2D(const KvVector2&, const KvVector2&, KvColor) override {}
    void DrawRect2D(const KvVector2&, const KvVector2&, KvColor) override {}
    void DrawSolidRect2D(const KvVector2&, const KvVector2&, KvColor) override {}
    void DrawCircle2D(const KvVector2&, float, KvColor) override {}
};

namespace KvDebugDraw
{
// The published sink, or this module's stub; never null.
KvDebugDrawInterface* GetInterface();
// Publishes a sink for the whole process (null withdraws it); the caller keeps ownership.
void SetInterface(KvDebugDrawInterface* pInterface);
} // namespace KvDebugDraw
