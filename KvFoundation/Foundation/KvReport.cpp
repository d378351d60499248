#include "Foundation/KvReport.h"

#include "Foundation/KvFatalError.h"
#include "Foundation/KvLog.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

namespace
{
constexpr const char* kOperatorKeyword = "operator";
constexpr size_t kOperatorLength = 8;

bool IsIdentifierCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsOperatorKeywordAt(const std::string& text, size_t at)
{
    return text.compare(at, kOperatorLength, kOperatorKeyword) == 0 &&
           (at == 0 || !IsIdentifierCharacter(text[at - 1])) &&
           (at + kOperatorLength >= text.size() || !IsIdentifierCharacter(text[at + kOperatorLength]));
}

// Past what follows the operator keyword: "()", a run of symbols ("<<", "->", "[]"), or a
// conversion's type up to its parameter list. Their brackets and spaces are not syntax.
size_t SkipOperatorSymbol(const std::string& text, size_t at)
{
    if (text.compare(at, 2, "()") == 0)
        return at + 2;
    if (at < text.size() && text[at] == ' ')
        return std::min(text.find('(', at), text.size());
    while (at < text.size() && std::strchr("<>=!+-*/%^&|~[],", text[at]))
        ++at;
    return at;
}

// [begin, end) of the qualified name: from after the last space up to the parameter list.
// Spaces and parentheses inside template brackets or an operator's symbols do not count.
std::pair<size_t, size_t> QualifiedNameSpan(const std::string& text)
{
    int angles = 0;
    size_t begin = 0;
    for (size_t at = 0; at < text.size(); ++at)
    {
        if (IsOperatorKeywordAt(text, at))
        {
            at = SkipOperatorSymbol(text, at + kOperatorLength) - 1;
            continue;
        }
        const char c = text[at];
        if (c == '<')
            ++angles;
        else if (c == '>' && angles > 0)
            --angles;
        else if (c == ' ' && angles == 0)
            begin = at + 1;
        else if (c == '(' && angles == 0)
            return {begin, at};
    }
    return {begin, text.size()};
}

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

std::string FormatReportV(const KvReportSite& site, const char* format, va_list args)
{
    return KvFormatMessage("%s::%s(%i)\n\t", site.m_strFile.c_str(), site.m_strFunction.c_str(),
                           site.m_iLine) +
           FormatV(format, args);
}
} // namespace

KvReportSite KvReportSite::FromCompiler(const char* path, const char* moduleFolder,
                                        const char* prettyFunction, int line)
{
    return {KvReportFileName(path, moduleFolder), KvQualifiedFunctionName(prettyFunction), line};
}

std::string KvReportFileName(const char* path, const char* moduleFolder)
{
    std::string name(path ? path : "");
    std::replace(name.begin(), name.end(), '\\', '/');
    if (moduleFolder && *moduleFolder)
    {
        const std::string folder = std::string("/") + moduleFolder + "/";
        const size_t at = ("/" + name).rfind(folder);
        if (at != std::string::npos)
            name.erase(0, at + folder.size() - 1);
    }
    const size_t lastSeparator = name.find_last_of('/');
    const size_t extension = name.find_last_of('.');
    if (extension != std::string::npos && (lastSeparator == std::string::npos || extension > lastSeparator))
        name.erase(extension);
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

std::string KvQualifiedFunctionName(const char* prettyFunction)
{
    std::string text(prettyFunction ? prettyFunction : "");
    const size_t templateArguments = text.find(" [with ");
    if (templateArguments != std::string::npos)
        text.erase(templateArguments);
    for (const char* anonymous : {"{anonymous}::", "(anonymous namespace)::"})
    {
        for (size_t at = text.find(anonymous); at != std::string::npos; at = text.find(anonymous))
            text.erase(at, std::strlen(anonymous));
    }
    const auto [begin, end] = QualifiedNameSpan(text);
    return text.substr(begin, end - begin);
}

std::string KvFormatMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string result = FormatV(format, args);
    va_end(args);
    return result;
}

std::string KvFormatReport(const KvReportSite& site, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string result = FormatReportV(site, format, args);
    va_end(args);
    return result;
}

void KvLogReport(uint32_t level, const KvReportSite& site, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string report = FormatReportV(site, format, args);
    va_end(args);
    KvLog::Write(kKvLogCategoryDefault, level, report.c_str());
}

void KvFatalReport(const KvReportSite& site, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string report = FormatReportV(site, format, args);
    va_end(args);
    KvFatalError(kKvLogCategoryDefault, report.c_str());
}
