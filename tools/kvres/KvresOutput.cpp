#include "KvresOutput.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace
{
bool s_bVerbose = false;
std::vector<std::string> s_aPending;
} // namespace

namespace KvresOutput
{
void SetVerbose(bool bVerbose)
{
    s_bVerbose = bVerbose;
}

void Logged(const char* category, uint32_t level, const char* message)
{
    if (s_bVerbose)
        std::fprintf(stderr, "[%s:%u] %s\n", category, level, message);
    else
        s_aPending.push_back(KvResult::Failure(message).GetOneLineReason());
}

bool HasPending()
{
    return !s_aPending.empty();
}

void Failure(const std::string& subject, const KvResult& failure)
{
    s_aPending.clear();
    std::fprintf(stderr, "FAILED %s: %s\n", subject.c_str(), failure.GetOneLineReason(s_bVerbose).c_str());
}

void Warnings(const std::string& subject)
{
    PrintWarnings(subject, TakeLogged());
}

std::vector<std::string> TakeLogged()
{
    return std::exchange(s_aPending, {});
}

void PrintWarnings(const std::string& subject, const std::vector<std::string>& warnings)
{
    for (const std::string& text : warnings)
        std::fprintf(stderr, "warning: %s%s%s\n", subject.c_str(), subject.empty() ? "" : ": ", text.c_str());
}
} // namespace KvresOutput
