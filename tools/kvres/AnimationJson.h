#pragma once

#include "animtech/TAnimatedSkeleton.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

// The JSON form of an animation:
// {"bones": [{"name": "root", "parent": -1}, ...],
//  "keys": [{"time": 0.0, "rotations": [[x, y, z, w], ...], "translations": [[x, y, z], ...]}, ...]}
// with one rotation and one translation per bone in every key.

// Builds an animation; throws std::runtime_error naming the first offending element.
AnimationTech::TAnimatedSkeleton AnimationFromJson(const nlohmann::json& document);
// The same from the text, without building a JSON tree: it accepts exactly the texts that
// nlohmann::json::parse followed by AnimationFromJson accepts, with the same results and
// messages ("is not valid JSON" for a text the parser refuses).
AnimationTech::TAnimatedSkeleton AnimationFromJsonText(std::string_view text);
nlohmann::json AnimationToJson(const AnimationTech::TAnimatedSkeleton& animation);

// Reads and parses a file; throws std::runtime_error with the file name on failure.
AnimationTech::TAnimatedSkeleton LoadAnimationFile(const std::string& path);
