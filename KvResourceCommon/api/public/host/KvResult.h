#pragma once

#include "KvResourceCommonExport.h"

#include <string>

// How a host operation ended: success, or failure with the reason to show the user. Every host
// operation that can fail returns one, and whatever a plug-in throws stops at the host and
// becomes a failure with its reason, so a caller reports every failure the same way.
class [[nodiscard]] KvResult
{
public:
    // Success.
    KvResult() = default;
    KV_RESOURCECOMMON_API static KvResult Failure(std::string reason);
    // A failure with the reason of the exception being handled: the fatal routine's message,
    // "out of memory", a size beyond the limits, a file-system error with its paths, any other
    // exception's text. Call only inside a catch block.
    KV_RESOURCECOMMON_API static KvResult FailureOfCurrentException();

    bool IsOk() const { return !m_bFailed; }
    explicit operator bool() const { return IsOk(); }
    // Why the operation failed; empty on success. Reports the reason gathers from the log keep
    // their form: a line naming the place in the code ("file::function(line)"), then the text
    // on lines that begin with a tab.
    const std::string& GetReason() const { return m_strReason; }
    // The reason on one line for a user: each report's text alone, with its place in the code in
    // brackets after it only when asked; reports joined by "; ".
    KV_RESOURCECOMMON_API std::string GetOneLineReason(bool bWithSites = false) const;

private:
    bool m_bFailed = false;
    std::string m_strReason;
};
