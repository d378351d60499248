#pragma once

// The tool's internals that its tests reach; they include this header instead of any private
// one.
#include "AnimationJson.h"
