#pragma once

#include "host/KvImportDriver.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

class KvBatchImport;

// What importing one source came to, wherever it ran: in the tool or in a worker process, which
// sends it back as one JSON line.
struct ImportOutcome
{
    enum eStatus
    {
        IMPORTED,
        UP_TO_DATE,
        FAILED,
    };
    eStatus m_eStatus = FAILED;
    std::string m_strResource;
    // The project files written (up to date: the saved files).
    std::vector<std::string> m_aOutputs;
    // "<type name> '<resource name>'" when the source updated a saved resource.
    std::string m_strUpdated;
    // Why it failed, as the host reported it.
    std::string m_strReason;
    // The resource names its references name.
    std::vector<std::string> m_aReferencedNames;
    // What was logged about a source that did not fail, one line each.
    std::vector<std::string> m_aWarnings;
    double m_dMilliseconds = 0.0;
};

ImportOutcome FailedOutcome(const std::string& reason);

// Imports and saves one source, timing it and taking what was logged meanwhile.
ImportOutcome ImportSource(KvBatchImport& batch, const KvImportRequest& request);

nlohmann::json ToJson(const KvImportRequest& request);
KvImportRequest RequestFromJson(const nlohmann::json& line);
nlohmann::json ToJson(const ImportOutcome& outcome);
// A line that is not an outcome gives a failure naming it.
ImportOutcome OutcomeFromJson(const nlohmann::json& line);
