#pragma once

#include <algorithm>
#include <cmath>

// Rotation as x, y, z (the vector part) and w (the scalar part); identity by default.
struct KvQuaternion
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
    bool operator==(const KvQuaternion&) const = default;
};

// Spherical interpolation between two rotations, prepared once for any number of factors.
// The result is not renormalised; where the two rotations are too close to tell an arc
// apart, every factor gives the second rotation exactly as given (not negated).
class KvSlerpArc
{
public:
    KvSlerpArc() = default;
    KvSlerpArc(const KvQuaternion& from, const KvQuaternion& to) : m_From(from), m_To(to), m_ToNear(to)
    {
        float dot = from.x * to.x + from.y * to.y + from.z * to.z + from.w * to.w;
        // The shorter way round: the second rotation on the first one's side of the sphere.
        if (dot < 0.0f)
        {
            m_ToNear = {-to.x, -to.y, -to.z, -to.w};
            dot = -dot;
        }
        m_fAngle = std::acos(std::min(dot, 1.0f));
        m_fSine = std::sin(m_fAngle);
    }

    // The rotation at factor along the arc; the factor is not clamped.
    KvQuaternion At(float factor) const
    {
        if (IsCoincident())
            return m_To;
        float weightFrom = 0.0f;
        float weightTo = 0.0f;
        WeightsAt(factor, weightFrom, weightTo, [](float angle) { return std::sin(angle); });
        return {m_From.x * weightFrom + m_ToNear.x * weightTo, m_From.y * weightFrom + m_ToNear.y * weightTo,
                m_From.z * weightFrom + m_ToNear.z * weightTo, m_From.w * weightFrom + m_ToNear.w * weightTo};
    }

    // The pieces of At for callers that blend several factors at once: where the rotations
    // coincide every factor gives To(); elsewhere the result is From() and ToNear() weighted.
    bool IsCoincident() const { return std::fabs(m_fSine) < kCoincidentSine; }
    // The weights are the sines of the two parts of the arc over the sine of the whole; factor
    // is a float or several side by side, and sine takes the sines of such a value.
    template <class T, class Sine>
    void WeightsAt(const T& factor, T& outFrom, T& outTo, Sine sine) const
    {
        outFrom = sine((1.0f - factor) * m_fAngle) / m_fSine;
        outTo = sine(factor * m_fAngle) / m_fSine;
    }
    const KvQuaternion& From() const { return m_From; }
    const KvQuaternion& To() const { return m_To; }
    const KvQuaternion& ToNear() const { return m_ToNear; }

private:
    // Below this sine of the angle between them two rotations count as one.
    static constexpr float kCoincidentSine = 1e-6f;

    KvQuaternion m_From;
    KvQuaternion m_To;
    KvQuaternion m_ToNear;
    float m_fAngle = 0.0f;
    float m_fSine = 0.0f;
};
