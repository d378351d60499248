#pragma once

// Plain float vectors; the data classes store them by value.
struct KvVector2
{
    float x = 0.0f;
    float y = 0.0f;
    bool operator==(const KvVector2&) const = default;
};

struct KvVector3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    bool operator==(const KvVector3&) const = default;

    KvVector3 operator+(const KvVector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    KvVector3 operator-(const KvVector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    KvVector3 operator*(float s) const { return {x * s, y * s, z * s}; }
};

struct KvVector4
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
    bool operator==(const KvVector4&) const = default;
};

namespace KvMath
{
// (1 - factor) * from + factor * to, per component; the factor is not clamped.
inline KvVector3 Lerp(const KvVector3& from, const KvVector3& to, float factor)
{
    const float keep = 1.0f - factor;
    return {keep * from.x + factor * to.x, keep * from.y + factor * to.y, keep * from.z + factor * to.z};
}
} // namespace KvMath
