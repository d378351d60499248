#pragma once

#include "animtech/TAnimatedSkeleton.h"

#include <nlohmann/json.hpp>

#include <string>

// The JSON form of an animation:
// {"bones": [{"name": "root", "parent": -1}, ...],
//  "keys": [{"time": 0.0, "rotations": [[x, y, z, w], ...], "translations": [[x, y, z], ...]}, ...]}
// with one rotation and one translation per bone in every key.

// Builds an animation; throws std::runtime_error naming the first offending element.
AnimationTech::TAnimatedSkeleton AnimationFromJson(const nlohmann::json& document);
nlohmann::json AnimationToJson(const AnimationTech::TAnimatedSkeleton& animation);

// Reads and parses a file; throws std::runtime_error with the file name on failure.
AnimationTech::TAnimatedSkeleton LoadAnimationFile(const std::string& path);
