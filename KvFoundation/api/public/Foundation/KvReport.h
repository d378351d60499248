#pragma once

#include <cstdint>
#include <string>

// Reports are "<file>::<function>(<line>)\n\t<message>": the source file below its module's
// folder (backslashes, no extension), the qualified function name and the line.

// Where a report says it was raised. Written out only where a message's location is part of
// its fixed text; everywhere else KV_REPORT_SITE takes it from the compiler.
struct KvReportSite
{
    std::string m_strFile;
    std::string m_strFunction;
    int m_iLine = 0;

    // The site as the compiler names it: a source path cut after the module's folder, and a
    // function's pretty name reduced to its qualified name.
    static KvReportSite FromCompiler(const char* path, const char* moduleFolder, const char* prettyFunction,
                                     int line);
};

// The build names each module's folder; a source built elsewhere keeps its whole path.
#ifndef KV_MODULE_FOLDER
#define KV_MODULE_FOLDER ""
#endif

// The site of the code that expands it.
#define KV_REPORT_SITE                                                                                       \
    (::KvReportSite::FromCompiler(__FILE__, KV_MODULE_FOLDER, __PRETTY_FUNCTION__, __LINE__))

// A source path as reports name it: below the last folder named moduleFolder (the whole path
// when there is none), separators as backslashes, the extension removed.
std::string KvReportFileName(const char* path, const char* moduleFolder);
// The qualified name of a function from its pretty name: no return type, parameters,
// template arguments or anonymous namespaces; a lambda names the function around it.
std::string KvQualifiedFunctionName(const char* prettyFunction);

// printf into a string of any length.
std::string KvFormatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats a report; the result grows beyond any fixed size.
std::string KvFormatReport(const KvReportSite& site, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Formats a report and writes it to the log under "Default" at the given level.
void KvLogReport(uint32_t level, const KvReportSite& site, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Formats a report and hands it to the fatal-error routine; never returns.
[[noreturn]] void KvFatalReport(const KvReportSite& site, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Category every report of the system is written under.
inline constexpr const char* kKvLogCategoryDefault = "Default";

// Level of a recoverable problem; the fatal routine writes at kKvLogLevelFatal.
inline constexpr uint32_t kKvLogLevelWarning = 3;
inline constexpr uint32_t kKvLogLevelFatal = 4;
