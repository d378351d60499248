#pragma once

#include "Foundation/KvExport.h"

// Marks the plug-in library's public interface: visible to the host and to tools that link it.
#define KV_PLUGIN_CORE_API KV_EXPORT
