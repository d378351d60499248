#pragma once

#include <cstdint>

class KvTypeManager;
class KvLogInterfaceContainer;
class KvDebugDrawInterface;
struct tGlobals;

// What the test module reports of its own view of the process. The functions are looked up
// with dlsym; these are their types.
extern "C"
{
    using KvTestModule_GetTypeManagerFn = KvTypeManager* (*)();
    using KvTestModule_GetLogContainerFn = KvLogInterfaceContainer* (*)();
    using KvTestModule_GetErrorGlobalsFn = tGlobals* (*)();
    using KvTestModule_GetDebugDrawFn = KvDebugDrawInterface* (*)();
    using KvTestModule_GetEmptyBlockFn = const uint8_t* (*)();
    using KvTestModule_GetTypeIndexFn = uint32_t (*)(const char* name);
    using KvTestModule_NextRandomFn = float (*)();
    using KvTestModule_LogFn = void (*)(const char* message);
}

// The class the test module registers; the tests create it by name.
inline constexpr const char* kTestModuleClassName = "KvTestModuleObject";
