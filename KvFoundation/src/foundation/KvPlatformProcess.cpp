#include "src/foundation/KvPlatformProcess.h"

#include "Foundation/KvFatalError.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace KvPlatform
{
uint32_t GetProcessId()
{
    return static_cast<uint32_t>(getpid());
}

bool GetProcessStartTime(uint32_t processId, uint64_t& outStartTime)
{
    std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return false;
    // The command name may hold spaces and parentheses; fields resume after the last ')'.
    const size_t nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos)
        return false;
    std::istringstream fields(line.substr(nameEnd + 1));
    std::string field;
    // Field 3 (state) is the first after the name; the start time is field 22.
    for (int index = 3; index < 22; ++index)
    {
        if (!(fields >> field))
            return false;
    }
    return static_cast<bool>(fields >> outStartTime);
}

void ShowMessageBox(const char* caption, const char* text)
{
    std::fprintf(stderr, "[%s]\n%s\n", caption, text);
    std::fflush(stderr);
}

void RaiseStructuredException(uint32_t code, const char* message)
{
    throw KvStructuredException(code, message);
}

void BreakIfDebuggerAttached()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind("TracerPid:", 0) == 0)
        {
            if (std::strtol(line.c_str() + 10, nullptr, 10) != 0)
                std::raise(SIGTRAP);
            return;
        }
    }
}

void TerminateProcess(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}
} // namespace KvPlatform
