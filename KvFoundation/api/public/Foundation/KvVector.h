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

// Rotation as x, y, z, w; identity by default.
struct KvQuaternion
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
    bool operator==(const KvQuaternion&) const = default;
};
