#pragma once

// Angle constants in single precision, each the nearest float to its exact value: every
// angle the data stores in degrees is converted with these and nothing else.
namespace KvMath
{
inline constexpr float kPi = 3.1415927f;
inline constexpr float kDegreesToRadians = 0.017453292f;
inline constexpr float kRadiansToDegrees = 57.29578f;
} // namespace KvMath
