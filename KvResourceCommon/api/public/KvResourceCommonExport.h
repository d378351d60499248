#pragma once

#include "Foundation/KvExport.h"

// Marks the host framework's interface: one definition for the host and every plug-in.
#define KV_RESOURCECOMMON_API KV_EXPORT
