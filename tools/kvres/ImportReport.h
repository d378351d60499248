#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// The per-file results of an import run for scripts (`kvres import --report FILE.json`):
// {"project", "files": [{"source", "resource", "outputs", "status", "reason", "milliseconds"}],
//  "summary": {<status>: count}}. Status is "imported", "up to date" (outputs: the saved files,
// resource null) or "failed"; reason is null unless failed.
class ImportReport
{
public:
    static constexpr const char* kImported = "imported";
    static constexpr const char* kUpToDate = "up to date";
    static constexpr const char* kFailed = "failed";

    void Add(const std::string& source, const std::string& resource, const std::vector<std::string>& outputs,
             const char* status, const std::string& reason, double milliseconds);
    // Writes the report; false after printing why it cannot be written.
    bool Write(const std::string& path, const std::string& projectFolder) const;

private:
    nlohmann::ordered_json m_Files = nlohmann::ordered_json::array();
    nlohmann::ordered_json m_Summary = {{kImported, 0}, {kUpToDate, 0}, {kFailed, 0}};
};
