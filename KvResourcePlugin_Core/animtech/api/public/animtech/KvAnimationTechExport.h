#pragma once

#include "Foundation/KvExport.h"

// Marks the animation tech's interface: visible from the plug-in, which exports it whole, and
// from the tools that link the library themselves.
#define KV_ANIMATIONTECH_API KV_EXPORT
