#include "Foundation/KvReport.h"

#include "Foundation/KvFatalError.h"
#include "Foundation/KvLog.h"

#include <cstdarg>
#include <cstdio>

namespace
{
std::string FormatV(const char* format, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
        return std::string();
    std::string result(static_cast<size_t>(length), '\0');
    std::vsnprintf(result.data(), result.size() + 1, format, args);
    return result;
}

std::string FormatReportV(const char* file, const char* function, int line, const char* format, va_list args)
{
    return KvFormatMessage("%s::%s(%i)\n\t", file, function, line) + FormatV(format, args);
}
} // namespace

std::string KvFormatMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string result = FormatV(format, args);
    va_end(args);
    return result;
}

std::string KvFormatReport(const char* file, const char* function, int line, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string result = FormatReportV(file, function, line, format, args);
    va_end(args);
    return result;
}

void KvLogReport(uint32_t level, const char* file, const char* function, int line, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string report = FormatReportV(file, function, line, format, args);
    va_end(args);
    KvLog::Write(kKvLogCategoryDefault, level, report.c_str());
}

void KvFatalReport(const char* file, const char* function, int line, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string report = FormatReportV(file, function, line, format, args);
    va_end(args);
    KvFatalError(kKvLogCategoryDefault, report.c_str());
}
