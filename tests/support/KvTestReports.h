#pragma once

#include "Foundation/KvError_Globals.h"
#include "Foundation/KvFatalError.h"
#include "Foundation/KvLog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The report text a failure must produce, built independently of the code under test.
inline std::string ExpectedReport(const std::string& file, const std::string& function, int line,
                                  const std::string& message)
{
    return file + "::" + function + "(" + std::to_string(line) + ")\n\t" + message;
}

// A fatal path: exit status 255 and the exact report on standard error (the message box).
#define EXPECT_FATAL(statement, file, function, line, message)                                               \
    EXPECT_EXIT(statement, ::testing::ExitedWithCode(255),                                                   \
                ::testing::HasSubstr(ExpectedReport(file, function, line, message)))

// Text holding, on lines of its own, a report whose line the compiler gives: the file,
// function and message are fixed, the line is any number.
MATCHER_P3(ContainsReportFrom, file, function, message, "")
{
    const std::string prefix = std::string(file) + "::" + function + "(";
    const std::string suffix = std::string(")\n\t") + message;
    const std::string& text = arg;
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1))
    {
        size_t end = at + prefix.size();
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        const bool bStartsALine = at == 0 || text[at - 1] == '\n';
        const bool bHasALine = end > at + prefix.size();
        const size_t after = end + suffix.size();
        const bool bEndsALine = after == text.size() || (after < text.size() && text[after] == '\n');
        if (bStartsALine && bHasALine && text.compare(end, suffix.size(), suffix) == 0 && bEndsALine)
            return true;
    }
    return false;
}

// A fatal path whose line the compiler gives.
#define EXPECT_FATAL_FROM(statement, file, function, message)                                                \
    EXPECT_EXIT(statement, ::testing::ExitedWithCode(255), ContainsReportFrom(file, function, message))

// While it lives, fatal errors raise KvStructuredException instead of ending the process, as a
// host that imports many files asks; the error globals are restored afterwards.
class RaisingFatalErrors
{
public:
    RaisingFatalErrors() : m_Saved(*KvError::GetGlobals())
    {
        KvError::GetGlobals()->m_bShowMessageBox = 0;
        KvError::GetGlobals()->m_bRaiseException = 1;
    }
    ~RaisingFatalErrors() { *KvError::GetGlobals() = m_Saved; }
    RaisingFatalErrors(const RaisingFatalErrors&) = delete;
    RaisingFatalErrors& operator=(const RaisingFatalErrors&) = delete;

private:
    tGlobals m_Saved;
};

// The report of the fatal error a statement raises while fatal errors are raised; empty when
// it raises none.
template <class Fn>
std::string RaisedFatalReport(Fn statement)
{
    RaisingFatalErrors raising;
    try
    {
        statement();
    }
    catch (const KvStructuredException& exception)
    {
        EXPECT_EQ(exception.GetCode(), 0xEFFFFFFFu);
        return exception.what();
    }
    return std::string();
}

// Records what reaches the process-wide log while it lives.
class RecordingLog : public KvLogInterface
{
public:
    struct Entry
    {
        std::string m_strCategory;
        uint32_t m_uiLevel;
        std::string m_strMessage;
    };

    RecordingLog() { KvLog::AddInterface(this); }
    ~RecordingLog() override { KvLog::RemoveInterface(this); }

    void Write(const char* category, uint32_t level, const char* message) override
    {
        m_aEntries.push_back({category, level, message});
    }

    std::vector<Entry> m_aEntries;
};
