#pragma once

#include <cmath>

namespace AnimationTech
{
// The float 3.1415925 (0x40490FDA), one ulp below KvMath::kPi: the angle tolerance has always
// been converted with it, and the reduced key sets depend on it.
constexpr float kAngleTolerancePi = 3.1415925f;

// Pose comparison limits, derived once per comparison run.
struct PoseTolerance
{
    PoseTolerance(float positionTolerance, float angleToleranceDegrees)
        : m_fMaxAxisDeviation(1.0f - std::cos(angleToleranceDegrees * kAngleTolerancePi / 180.0f)),
          m_fMaxSquaredDistance(positionTolerance * positionTolerance)
    {
    }

    float m_fMaxAxisDeviation;
    float m_fMaxSquaredDistance;
};

// Whether two bone matrices (12 elements each) differ beyond the limits, for a float or for
// several poses side by side (then one answer per lane). A NaN deviation exceeds nothing:
// keys that share one time interpolate with 0/0 and must still count as reproduced.
template <class T>
inline auto BonePosesDiffer(const T* a, const T* b, const T& maxAxisDeviation, const T& maxSquaredDistance)
{
    auto differ = 1.0f - (a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) > maxAxisDeviation;
    differ = differ | (1.0f - (a[3] * b[3] + a[4] * b[4] + a[5] * b[5]) > maxAxisDeviation);
    differ = differ | (1.0f - (a[6] * b[6] + a[7] * b[7] + a[8] * b[8]) > maxAxisDeviation);
    const T dx = a[9] - b[9];
    const T dy = a[10] - b[10];
    const T dz = a[11] - b[11];
    return differ | (dx * dx + dy * dy + dz * dz > maxSquaredDistance);
}
} // namespace AnimationTech
