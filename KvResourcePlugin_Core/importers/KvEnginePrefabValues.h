#pragma once

#include "Foundation/KvColor.h"
#include "math/KvVector.h"

#include <array>
#include <string>
#include <string_view>

// The value formats of the run-time engine's prefab files.
namespace KvEnginePrefabValues
{
// Three floats as "%f,%f,%f"; the components the text does not supply keep their value.
void ReadVector(const char* text, KvVector3& vector);
// Three integers as "%i,%i,%i" (decimal, "0x" hexadecimal, leading-zero octal), each cut to its
// low 8 bits as red, green and blue; alpha becomes 255. Channels the text does not supply keep
// their value.
void ReadColor(const char* text, KvColor& color);
// A file path as the project names resources: lower case, blanks as "_", without one leading
// "models\", "staticmeshes\", "particles\" and "prefabs\" (in that order, each only at the very
// start) and without the extension (from the last ".").
std::string NormalisePath(std::string_view path);
// The texture name of a sky box path: lower case, the first 9 characters removed when it holds
// "textures\" anywhere, cut before the first ".dds".
std::string SkyTextureName(std::string_view path);
// The engine's yaw, pitch and roll in degrees re-expressed in the convention of the project's
// transforms.
KvVector3 CanonicalOrientation(const KvVector3& engineDegrees);

// The mood prefabs: a folder that replaces "mood\" in the path, and the tag of its mood, in
// the order they are made.
struct tMood
{
    const char* m_Folder;
    const char* m_Tag;
};
inline constexpr std::string_view kMoodFolder = "mood\\";
inline constexpr std::array<tMood, 10> kMoods = {{{"mood\\", "id_mood_standard"},
                                                  {"mood_darknight\\", "id_mood_darknight"},
                                                  {"mood_evening\\", "id_mood_evening"},
                                                  {"mood_green\\", "id_mood_green"},
                                                  {"mood_limbo\\", "id_mood_limbo"},
                                                  {"mood_morning\\", "id_mood_morning"},
                                                  {"mood_night\\", "id_mood_night"},
                                                  {"mood_orange\\", "id_mood_orange"},
                                                  {"mood_purple\\", "id_mood_purple"},
                                                  {"mood_red\\", "id_mood_red"}}};
// The two gradient textures every scene lighting refers to.
inline constexpr const char* kFogGradientTexture = "gradients\\globalfoggradient";
inline constexpr const char* kAmbientGradientTexture = "gradients\\globalambientgradient";
} // namespace KvEnginePrefabValues
