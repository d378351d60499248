#pragma once

#include "Foundation/KvError_Globals.h"
#include "Foundation/KvLog.h"
#include "Foundation/KvSharedTypeTraits.h"

// Names of the process-wide objects this module publishes or finds at start-up.
KV_DECLARE_SHARED_TYPE(KvLogInterfaceContainer, "KvLogInterfaceContainer_Shared", "instance",
                       "class KvLogInterfaceContainer");
KV_DECLARE_SHARED_TYPE(tGlobals, "KvError_Globals", "instance", "struct tGlobals");

// Objects of other modules that the foundation only names.
class KvFramework;
class KvTime;
class KvMessageInterface;
KV_DECLARE_SHARED_TYPE(KvFramework, "KvFramework", "instance", "class KvFramework");
KV_DECLARE_SHARED_TYPE(KvTime, "KvTime", "instance", "class KvTime");
KV_DECLARE_SHARED_TYPE(KvMessageInterface, "KvMessageInterface", "CORE_FRAMEWORK",
                       "class KvMessageInterface");
