#include "importers/KvEnginePrefabValues.h"

#include "Toolbox/KvDecimalText.h"
#include "math/KvEulerAngles.h"

#include <cmath>
#include <cstdlib>

namespace
{
// Reads up to three comma-separated numbers the way scanf reads "%x,%x,%x": each may follow
// blanks, a comma must follow a number directly, and reading stops at the first mismatch.
// `read` parses one number at a text, advancing it, and returns false when there is none.
template <class ReadNumber>
void ReadThree(const char* text, ReadNumber&& read)
{
    if (!text)
        return;
    for (int component = 0; component < 3; ++component)
    {
        if (!read(component, text) || (component < 2 && *text++ != ','))
            return;
    }
}

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& character : lower)
        if (character >= 'A' && character <= 'Z')
            character = static_cast<char>(character - 'A' + 'a');
    return lower;
}

void RemovePrefix(std::string& text, std::string_view prefix)
{
    if (text.starts_with(prefix))
        text.erase(0, prefix.size());
}
} // namespace

namespace KvEnginePrefabValues
{
void ReadVector(const char* text, KvVector3& vector)
{
    float* components[3] = {&vector.x, &vector.y, &vector.z};
    ReadThree(text,
              [&](int component, const char*& position)
              {
                  char* end = nullptr;
                  const float value = KvDecimalText::ReadFloat(position, &end);
                  if (end == position)
                      return false;
                  *components[component] = value;
                  position = end;
                  return true;
              });
}

void ReadColor(const char* text, KvColor& color)
{
    uint8_t* channels[3] = {&color.r, &color.g, &color.b};
    ReadThree(text,
              [&](int component, const char*& position)
              {
                  char* end = nullptr;
                  // Out of range saturates; only the low byte counts.
                  const long long value = std::strtoll(position, &end, 0);
                  if (end == position)
                      return false;
                  *channels[component] = static_cast<uint8_t>(static_cast<unsigned long long>(value) & 0xFF);
                  position = end;
                  return true;
              });
    color.a = 255;
}

std::string NormalisePath(std::string_view path)
{
    std::string normal = LowerCase(path);
    for (char& character : normal)
        if (character == ' ')
            character = '_';
    for (std::string_view prefix : {"models\\", "staticmeshes\\", "particles\\", "prefabs\\"})
        RemovePrefix(normal, prefix);
    if (const size_t dot = normal.rfind('.'); dot != std::string::npos)
        normal.erase(dot);
    return normal;
}

std::string SkyTextureName(std::string_view path)
{
    std::string name = LowerCase(path);
    if (name.find("textures\\") != std::string::npos)
        name.erase(0, 9);
    if (const size_t extension = name.find(".dds"); extension != std::string::npos)
        name.erase(extension);
    return name;
}

KvVector3 CanonicalOrientation(const KvVector3& engineDegrees)
{
    const float yaw = engineDegrees.x * KvMath::kDegreesToRadians;
    const float pitch = engineDegrees.y * KvMath::kDegreesToRadians;
    const float roll = engineDegrees.z * KvMath::kDegreesToRadians;
    const float cy = std::cos(yaw), sy = std::sin(yaw);
    const float cp = std::cos(pitch), sp = std::sin(pitch);
    const float cr = std::cos(roll), sr = std::sin(roll);
    // The engine's rotation rows; the transforms read the same rows in their own convention.
    const float rows[3][3] = {{cy * cp, sy * cp, -sp},
                              {sr * cy * sp - sy * cr, sy * sr * sp + cy * cr, sr * cp},
                              {cy * cr * sp + sy * sr, sy * cr * sp - sr * cy, cp * cr}};
    KvMatrix44 rotation;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            rotation.m[row][column] = rows[row][column];
    return KvMath::YawPitchRollFromRotation(rotation);
}
} // namespace KvEnginePrefabValues
