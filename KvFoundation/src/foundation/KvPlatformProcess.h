#pragma once

#include <cstdint>
#include <string>

namespace KvPlatform
{
uint32_t GetProcessId();
// The PID namespace this process is in (the inode of /proc/self/ns/pid), 0 where the system
// does not say: process ids are unique only inside one namespace, and sandboxes and containers
// run processes of the same id side by side.
uint64_t GetPidNamespaceId();
// Start time of a process in clock ticks since boot; nothing when the process is gone.
bool GetProcessStartTime(uint32_t processId, uint64_t& outStartTime);

// The message box of a fatal error: the caption and text on standard error.
void ShowMessageBox(const char* caption, const char* text);
// Throws KvStructuredException. Where nothing can catch it, the process ends with -1 as
// after a fatal error that is not raised.
[[noreturn]] void RaiseStructuredException(uint32_t code, const char* message);
// Stops in the debugger when one is attached; does nothing otherwise.
void BreakIfDebuggerAttached();
// Flushes standard streams and ends the process at once, without exit handlers.
[[noreturn]] void TerminateProcess(int exitCode);
} // namespace KvPlatform
