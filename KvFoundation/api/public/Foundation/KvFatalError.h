#pragma once

#include "Foundation/KvExport.h"

#include <cstdint>
#include <stdexcept>
#include <string>

// Code of the exception the fatal routine raises when the host asked for it.
inline constexpr uint32_t kKvFatalExceptionCode = 0xEFFFFFFF;

// Raised by the fatal routine when "raise exception" is set in the error globals, so that
// a host can fail one job and go on. Never raised by anything else.
class KV_EXPORT KvStructuredException : public std::runtime_error
{
public:
    KvStructuredException(uint32_t code, const std::string& message)
        : std::runtime_error(message), m_uiCode(code)
    {
    }
    uint32_t GetCode() const { return m_uiCode; }

private:
    uint32_t m_uiCode;
};

// The one fatal-error routine: logs at level 4, shows the message box, raises the
// structured exception, breaks into an attached debugger and ends the process with -1,
// each step as the error globals allow. A raised exception that nothing can catch (it
// leaves a noexcept function or a destructor during unwinding) ends the process with -1
// too. Never returns.
[[noreturn]] void KvFatalError(const char* category, const char* message);
