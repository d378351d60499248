#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// The per-file results of an import run for scripts (`kvres import --report FILE.json`):
// {"project", "files": [{"source", "resource", "outputs", "status", "reason", "milliseconds"}],
//  "summary": {<status>: count}}. Status is "imported" or "failed"; reason is null unless failed.
class ImportReport
{
public:
    void Add(const std::string& source, const std::string& resource, const std::vector<std::string>& outputs,
             const std::string& failure, double milliseconds);
    // Writes the report; false after printing why it cannot be written.
    bool Write(const std::string& path, const std::string& projectFolder) const;

private:
    nlohmann::ordered_json m_Files = nlohmann::ordered_json::array();
    nlohmann::ordered_json m_Summary = {{"imported", 0}, {"failed", 0}};
};
