#pragma once

#include <cstdint>
#include <string>

// Reports are "<file>::<function>(<line>)\n\t<message>". File, function and line are
// passed explicitly: they are part of each message's fixed text, not of where it is raised.

// printf into a string of any length.
std::string KvFormatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats a report; the result grows beyond any fixed size.
std::string KvFormatReport(const char* file, const char* function, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// Formats a report and writes it to the log under "Default" at the given level.
void KvLogReport(uint32_t level, const char* file, const char* function, int line, const char* format, ...)
    __attribute__((format(printf, 5, 6)));

// Formats a report and hands it to the fatal-error routine; never returns.
[[noreturn]] void KvFatalReport(const char* file, const char* function, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// Category every report of the system is written under.
inline constexpr const char* kKvLogCategoryDefault = "Default";

// Level of a recoverable problem; the fatal routine writes at kKvLogLevelFatal.
inline constexpr uint32_t kKvLogLevelWarning = 3;
inline constexpr uint32_t kKvLogLevelFatal = 4;
