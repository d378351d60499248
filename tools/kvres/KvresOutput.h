#pragma once

#include "host/KvResult.h"

#include <cstdint>
#include <string>
#include <vector>

// How kvres tells the user what went wrong: one line per failure, "FAILED <subject>: <reason>",
// and what the plug-in logged about a job that succeeded as "warning: <subject>: <text>". The
// places in the code that reported them appear only with --verbose, which also prints every
// logged message as it comes.
namespace KvresOutput
{
void SetVerbose(bool bVerbose);
// Called by the session's log: kept for the job's outcome, or printed at once when verbose.
void Logged(const char* category, uint32_t level, const char* message);
// Whether messages wait for the job's outcome.
bool HasPending();
// Reports a failed job; the messages logged meanwhile are part of its reason and are dropped.
void Failure(const std::string& subject, const KvResult& failure);
// Prints the messages logged meanwhile as warnings of the job (of the tool when subject is empty).
void Warnings(const std::string& subject);
// The messages logged meanwhile, one line each, for a job that reports them later.
std::vector<std::string> TakeLogged();
void PrintWarnings(const std::string& subject, const std::vector<std::string>& warnings);
} // namespace KvresOutput
