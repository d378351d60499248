#include "src/foundation/KvPlatformProcess.h"

#include "Foundation/KvFatalError.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace KvPlatform
{
uint32_t GetProcessId()
{
    return static_cast<uint32_t>(getpid());
}

uint64_t GetPidNamespaceId()
{
    struct stat status = {};
    return stat("/proc/self/ns/pid", &status) == 0 ? static_cast<uint64_t>(status.st_ino) : 0;
}

bool GetProcessStartTime(uint32_t processId, uint64_t& outStartTime)
{
    // Plain reads, no streams: this also runs in a forked child, where a lock another thread
    // of the parent held stays locked.
    const std::string path = "/proc/" + std::to_string(processId) + "/stat";
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    char line[4096];
    const ssize_t length = read(file, line, sizeof(line) - 1);
    close(file);
    if (length <= 0)
        return false;
    line[length] = '\0';
    // The command name may hold spaces and parentheses; fields resume after the last ')'.
    const char* pField = std::strrchr(line, ')');
    if (!pField)
        return false;
    ++pField;
    // Field 3 (state) is the first after the name; the start time is field 22. A cut line
    // leaves the walk at its end, where no number is read.
    for (int index = 3; index < 22; ++index)
    {
        pField += std::strspn(pField, " ");
        pField += std::strcspn(pField, " ");
    }
    char* pEnd = nullptr;
    outStartTime = std::strtoull(pField, &pEnd, 10);
    return pEnd != pField;
}

void ShowMessageBox(const char* caption, const char* text)
{
    std::fprintf(stderr, "[%s]\n%s\n", caption, text);
    std::fflush(stderr);
}

namespace
{
std::terminate_handler s_pPreviousTerminateHandler = nullptr;

// A raised fatal error that nothing can catch (it left a noexcept function, or a destructor
// that ran while another exception unwound) ends the process as in the default mode: the
// message was logged and shown before the raise. Other exceptions go to the handler that
// was there before.
[[noreturn]] void TerminateOnUncaughtFatalError()
{
    try
    {
        if (const std::exception_ptr pCurrent = std::current_exception())
            std::rethrow_exception(pCurrent);
    }
    catch (const KvStructuredException&)
    {
        BreakIfDebuggerAttached();
        TerminateProcess(-1);
    }
    catch (...)
    {
    }
    if (s_pPreviousTerminateHandler)
        s_pPreviousTerminateHandler();
    std::abort();
}

bool InstallTerminateHandler()
{
    s_pPreviousTerminateHandler = std::set_terminate(&TerminateOnUncaughtFatalError);
    return true;
}
} // namespace

void RaiseStructuredException(uint32_t code, const char* message)
{
    // Once per module, before its first raise: a throw keeps the handler of its moment.
    [[maybe_unused]] static const bool s_bHandlerInstalled = InstallTerminateHandler();
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
