#include "ImportOutcome.h"

#include "KvresOutput.h"
#include "host/KvBatchImport.h"

#include <chrono>

ImportOutcome FailedOutcome(const std::string& reason)
{
    ImportOutcome outcome;
    outcome.m_strReason = reason;
    return outcome;
}

ImportOutcome ImportSource(KvBatchImport& batch, const KvImportRequest& request)
{
    const auto started = std::chrono::steady_clock::now();
    tImportedFile imported;
    const KvResult result = batch.ImportFile(request, imported);
    ImportOutcome outcome;
    outcome.m_eStatus = result ? ImportOutcome::IMPORTED : ImportOutcome::FAILED;
    outcome.m_strResource = imported.m_strResource;
    outcome.m_aOutputs = imported.m_aWritten;
    outcome.m_strUpdated = imported.m_strUpdated;
    outcome.m_aReferencedNames = imported.m_aReferencedNames;
    outcome.m_strReason = result.GetReason();
    // A failure's reason holds what was logged.
    outcome.m_aWarnings = KvresOutput::TakeLogged();
    if (!result)
        outcome.m_aWarnings.clear();
    outcome.m_dMilliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    return outcome;
}

nlohmann::json ToJson(const KvImportRequest& request)
{
    return {{"source", request.m_strSourcePath},
            {"root", request.m_strSourceRoot},
            {"type", request.m_strResourceType}};
}

KvImportRequest RequestFromJson(const nlohmann::json& line)
{
    return {line.value("source", ""), line.value("root", ""), line.value("type", "")};
}

// Paths and messages are bytes; the lines carry them as they are.
nlohmann::json ToJson(const ImportOutcome& outcome)
{
    return {{"status", outcome.m_eStatus},     {"resource", outcome.m_strResource},
            {"outputs", outcome.m_aOutputs},   {"updated", outcome.m_strUpdated},
            {"reason", outcome.m_strReason},   {"references", outcome.m_aReferencedNames},
            {"warnings", outcome.m_aWarnings}, {"milliseconds", outcome.m_dMilliseconds}};
}

ImportOutcome OutcomeFromJson(const nlohmann::json& line)
{
    ImportOutcome outcome;
    try
    {
        outcome.m_eStatus = static_cast<ImportOutcome::eStatus>(line.at("status").get<int>());
        outcome.m_strResource = line.at("resource").get<std::string>();
        outcome.m_aOutputs = line.at("outputs").get<std::vector<std::string>>();
        outcome.m_strUpdated = line.at("updated").get<std::string>();
        outcome.m_strReason = line.at("reason").get<std::string>();
        outcome.m_aReferencedNames = line.at("references").get<std::vector<std::string>>();
        outcome.m_aWarnings = line.at("warnings").get<std::vector<std::string>>();
        outcome.m_dMilliseconds = line.at("milliseconds").get<double>();
    }
    catch (const nlohmann::json::exception& error)
    {
        outcome = {};
        outcome.m_strReason = std::string("the worker's answer cannot be read: ") + error.what();
    }
    return outcome;
}
