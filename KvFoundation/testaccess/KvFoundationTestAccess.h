#pragma once

// The foundation's internals that its tests, fuzz harnesses and benchmarks reach; they include
// this header instead of any private one. Nothing in a module includes it.
#include "Foundation/KvSharedObjects.h"
#include "IO/KvArchive.h"
#include "IO/KvPathConversion.h"
#include "Toolbox/KvXmlShape.h"
#include "Toolbox/KvXmlShapeBound.h"
#include "TypeManager/KvTypeManagerImpl.h"
#include "src/foundation/KvPlatformFile.h"
#include "src/foundation/KvPlatformProcess.h"
#include "src/foundation/KvPlatformSharedMemory.h"
#include "src/foundation/KvTimeUuidGenerator.h"
