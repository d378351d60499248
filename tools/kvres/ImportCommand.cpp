#include "ImportCommand.h"

#include "ImportOutcome.h"
#include "ImportReport.h"
#include "ImportWorkers.h"
#include "KvresOutput.h"
#include "KvresSession.h"
#include "host/KvBatchImport.h"
#include "host/KvImportDriver.h"
#include "host/KvProjectLock.h"
#include "host/KvProjectStore.h"
#include "host/KvResourceHost.h"
#include "host/KvSavedProject.h"
#include "host/KvSourceFolderWalk.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvBlobHashOnly.h"
#include "store/KvJsonStore.h"
#include "store/KvJsonString.h"
#include "store/KvJsonTextWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
struct tSources
{
    std::vector<KvImportRequest> m_aFiles;
    std::vector<std::string> m_aMissing;
    // Files met in folders that no importer handles (read-me files, sources of other tools).
    size_t m_uiSkipped = 0;
};

// A file named on the command line is named relative to the current folder, by import and
// show alike.
KvImportRequest RequestForNamedFile(const std::string& path, const std::string& resourceType)
{
    return {path, ".", resourceType};
}

// Files of the arguments: a folder gives every importable file below it (the folder is their
// root), a named file itself whatever its extension, so that a wrong one fails visibly.
// What a folder walk cannot read is skipped with a warning.
tSources CollectSources(const std::vector<std::string>& arguments, const std::string& resourceType,
                        const KvImportDriver& driver)
{
    tSources sources;
    for (const std::string& argument : arguments)
    {
        std::error_code error;
        const fs::file_status status = fs::status(argument, error);
        if (fs::is_directory(status))
        {
            const KvSourceFolderWalk walk(argument);
            for (const std::string& warning : walk.GetWarnings())
                std::fprintf(stderr, "kvres import: skipped %s\n", warning.c_str());
            for (const std::string& path : walk.GetFiles())
            {
                if (driver.HandlesExtensionOf(path))
                    sources.m_aFiles.push_back({path, argument, resourceType});
                else
                    ++sources.m_uiSkipped;
            }
        }
        else if (fs::is_regular_file(status))
            sources.m_aFiles.push_back(RequestForNamedFile(argument, resourceType));
        else
            sources.m_aMissing.push_back(argument);
    }
    return sources;
}

// Holds the project's lock, after waiting for another import that holds it; false after
// printing why the lock cannot be had.
bool LockProject(KvProjectLock& lock, const std::string& projectFolder)
{
    const auto sayWaiting = [&]
    {
        std::fprintf(stderr, "kvres import: waiting for another import into %s to finish\n",
                     projectFolder.c_str());
    };
    const KvResult locked = lock.Acquire(projectFolder, sayWaiting);
    if (!locked)
        std::fprintf(stderr, "kvres import: %s\n", locked.GetReason().c_str());
    return locked.IsOk();
}

// One line rewritten in place on a terminal; nothing elsewhere.
void ShowProgress(size_t done, size_t total, const std::string& current)
{
    constexpr size_t kWidth = 30;
    const size_t filled = total ? done * kWidth / total : kWidth;
    std::fprintf(stderr, "\r[%s%s] %zu/%zu %-40.40s", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), done, total, current.c_str());
    std::fflush(stderr);
}
} // namespace

int RunShowCommand(KvResourceHost& host, const std::string& source, const std::string& resourceType,
                   bool bShowBound, bool bInlineBytes)
{
    try
    {
        KvBlobHashOnly referencesOnly;
        KvBlobSink* pBlobs = bInlineBytes ? nullptr : &referencesOnly;
        KvImportResult result = KvImportDriver(host).Import(RequestForNamedFile(source, resourceType));
        if (!result.Succeeded())
        {
            KvresOutput::Failure(source, result.m_Result);
            return 1;
        }
        const KvResource& resource = *result.m_pResource;
        const KvResourceDescriptor* pDescriptor = resource.GetDescriptor();
        // Written as it is made: the tool never holds the whole text of a large resource.
        KvJsonTextWriter shown(std::cout, KvJsonStore::kFileIndent);
        shown.BeginObject();
        shown.Key("name");
        KvWriteString(shown, resource.GetName());
        shown.Key("resourceType");
        shown.String(pDescriptor->GetTypeName());
        shown.Key("raw");
        KvJsonStore::Save(shown, pDescriptor->GetRootDataType(), resource.GetRawData(),
                          result.GetPlaceholderAddresses(), pBlobs);
        if (bShowBound)
        {
            shown.Key("bound");
            const KvResourceBinder* pBinder = host.GetBinders().FindByResourceType(pDescriptor);
            const KvBoundObject bound =
                pBinder ? pBinder->GetBoundObject(resource.GetRawData()) : KvBoundObject();
            if (bound.m_pObject)
                KvJsonStore::Save(shown, bound.m_pType, bound.m_pObject, {}, pBlobs);
            else
                shown.Null();
        }
        shown.Key("payload");
        if (resource.GetPayload() && pDescriptor->GetPayloadDataType())
            KvJsonStore::Save(shown, pDescriptor->GetPayloadDataType(), resource.GetPayload(), {}, pBlobs);
        else
            shown.Null();
        shown.Key("placeholders");
        shown.BeginArray();
        for (const KvTempXRef& placeholder : result.m_aPlaceholders)
            KvJsonStore::Save(shown, placeholder.second, placeholder.first, {}, pBlobs);
        shown.EndArray();
        shown.EndObject();
        shown.Raw("\n");
        if (!shown.Flush())
        {
            std::fprintf(stderr, "kvres show: %s: the output cannot be written\n", source.c_str());
            return 1;
        }
        return 0;
    }
    catch (...)
    {
        KvresOutput::Failure(source, KvResult::FailureOfCurrentException());
        return 1;
    }
}

namespace
{
// Prints each outcome in the order of the sources, as soon as those before it are printed, and
// counts them.
class OutcomePrinter
{
public:
    OutcomePrinter(const std::vector<KvImportRequest>& files, bool bTerminal)
        : m_rFiles(files), m_aOutcomes(files.size()), m_bTerminal(bTerminal)
    {
    }

    void Add(size_t index, ImportOutcome outcome)
    {
        m_aOutcomes[index] = std::move(outcome);
        ++m_uiDone;
        for (; m_uiPrinted < m_aOutcomes.size() && m_aOutcomes[m_uiPrinted]; ++m_uiPrinted)
            Print(m_rFiles[m_uiPrinted], *m_aOutcomes[m_uiPrinted]);
        if (m_bTerminal)
            ShowProgress(m_uiDone, m_aOutcomes.size(),
                         m_uiPrinted < m_rFiles.size() ? m_rFiles[m_uiPrinted].m_strSourcePath : "done");
    }

    // Sources without an outcome (their worker pool broke down) count as failed.
    void AddMissing()
    {
        for (size_t index = 0; index < m_aOutcomes.size(); ++index)
            if (!m_aOutcomes[index])
                Add(index, FailedOutcome("not imported"));
    }

    void Report(ImportReport& report) const
    {
        static const char* const kStatus[] = {ImportReport::kImported, ImportReport::kUpToDate,
                                              ImportReport::kFailed};
        for (size_t index = 0; index < m_aOutcomes.size(); ++index)
        {
            const ImportOutcome& outcome = *m_aOutcomes[index];
            report.Add(m_rFiles[index].m_strSourcePath, outcome.m_strResource, outcome.m_aOutputs,
                       kStatus[outcome.m_eStatus], KvResult::Failure(outcome.m_strReason).GetOneLineReason(),
                       outcome.m_dMilliseconds);
        }
    }

    size_t m_uiFailed = 0;
    size_t m_uiUpToDate = 0;
    size_t m_uiWritten = 0;

private:
    void Print(const KvImportRequest& file, const ImportOutcome& outcome)
    {
        // The progress bar makes way for whatever this file reports.
        const bool bSays = outcome.m_eStatus == ImportOutcome::FAILED || !outcome.m_strUpdated.empty() ||
                           !outcome.m_aWarnings.empty();
        if (m_bTerminal && bSays)
            std::fprintf(stderr, "\r%-80s\r", "");
        if (outcome.m_eStatus == ImportOutcome::UP_TO_DATE)
            ++m_uiUpToDate;
        if (outcome.m_eStatus == ImportOutcome::FAILED)
        {
            ++m_uiFailed;
            KvresOutput::Failure(file.m_strSourcePath, KvResult::Failure(outcome.m_strReason));
            return;
        }
        if (outcome.m_eStatus == ImportOutcome::IMPORTED)
            m_uiWritten += outcome.m_aOutputs.size();
        KvresOutput::PrintWarnings(file.m_strSourcePath, outcome.m_aWarnings);
        if (!outcome.m_strUpdated.empty())
            std::printf("Updated the saved %s from %s\n", outcome.m_strUpdated.c_str(),
                        file.m_strSourcePath.c_str());
    }

    const std::vector<KvImportRequest>& m_rFiles;
    std::vector<std::optional<ImportOutcome>> m_aOutcomes;
    bool m_bTerminal;
    size_t m_uiDone = 0;
    size_t m_uiPrinted = 0;
};

// Imports the sources, with the worker processes when there are any and more than one source.
void ImportAll(KvBatchImport& batch, std::optional<ImportWorkers>& workers,
               const std::vector<KvImportRequest>& files, const std::vector<size_t>& indices,
               const std::function<void(size_t, ImportOutcome)>& done)
{
    if (!workers || indices.size() < 2)
    {
        for (const size_t index : indices)
            done(index, ImportSource(batch, files[index]));
        return;
    }
    std::vector<KvImportRequest> requests;
    for (const size_t index : indices)
        requests.push_back(files[index]);
    workers->Run(requests,
                 [&](size_t request, const ImportOutcome& outcome) { done(indices[request], outcome); });
}

// The arguments of a worker process: the same modules and verbosity, the hidden subcommand.
std::vector<std::string> WorkerArguments(const KvresSession& session, const ImportOptions& options)
{
    std::vector<std::string> arguments = {"kvres", "--plugin", session.GetPluginPath()};
    for (const std::string& module : session.GetGameModulePaths())
        arguments.insert(arguments.end(), {"--game-module", module});
    if (options.m_bVerbose)
        arguments.push_back("--verbose");
    arguments.insert(arguments.end(), {kImportWorkerCommand, "--project", options.m_strProject});
    return arguments;
}
} // namespace

// Sources are planned first: those up to date are done; those that update a saved resource (a
// material updates a mesh) run last, here, so they see what the others saved; the rest are
// claimed and imported here or, with several jobs, by worker processes. References resolve
// against the project the run leaves, so the project is the same either way.
int RunImportCommand(KvresSession& session, const ImportOptions& options)
{
    KvResourceHost& host = session.GetHost();
    const std::string& projectFolder = options.m_strProject;
    KvProjectLock lock;
    if (!LockProject(lock, projectFolder))
        return 1;
    KvImportDriver driver(host);
    tSources collected = CollectSources(options.m_aSources, options.m_strResourceType, driver);
    // Missing sources take their places first, as failures.
    std::vector<KvImportRequest> files;
    for (const std::string& path : collected.m_aMissing)
        files.push_back({path, "", ""});
    const size_t missing = files.size();
    files.insert(files.end(), collected.m_aFiles.begin(), collected.m_aFiles.end());

    const KvProjectStore project(projectFolder);
    // Loaded only when a source updates a saved resource.
    KvSavedProject saved(projectFolder, host.GetDescriptors());
    KvBatchImport batch(driver, project, saved);
    OutcomePrinter printer(files, isatty(STDERR_FILENO) != 0);
    for (size_t index = 0; index < missing; ++index)
        printer.Add(index, FailedOutcome("no such file or folder"));

    const std::filesystem::file_time_type toolStamp = session.GetToolStamp();
    std::vector<size_t> independent;
    std::vector<size_t> dependent;
    for (size_t index = missing; index < files.size(); ++index)
    {
        ImportOutcome outcome;
        if (!options.m_bForce && batch.IsUpToDate(files[index], toolStamp, outcome.m_aOutputs))
        {
            outcome.m_eStatus = ImportOutcome::UP_TO_DATE;
            printer.Add(index, outcome);
            continue;
        }
        bool bCreates = false;
        if (const KvResult reserved = batch.Reserve(files[index], bCreates); !reserved)
        {
            outcome.m_strReason = reserved.GetReason();
            printer.Add(index, outcome);
            continue;
        }
        (bCreates ? independent : dependent).push_back(index);
    }
    // Planning probes the sources; what that logged (an XML error) their imports report again.
    KvresOutput::TakeLogged();

    std::optional<ImportWorkers> workers;
    if (const size_t jobs = std::min(options.m_uiJobs, independent.size()); jobs > 1)
        workers.emplace(jobs, WorkerArguments(session, options));
    // An import that referred to a resource of this run may have met that resource's file not
    // yet written, or as it was before: it waits, and is imported again once every resource of
    // the run is saved, so that the project never depends on the order or the number of jobs.
    std::set<std::string> importedNames;
    std::vector<std::pair<size_t, ImportOutcome>> held;
    ImportAll(batch, workers, files, independent,
              [&](size_t index, ImportOutcome outcome)
              {
                  if (outcome.m_eStatus != ImportOutcome::IMPORTED)
                      return printer.Add(index, std::move(outcome));
                  importedNames.insert(outcome.m_strResource);
                  if (outcome.m_aReferencedNames.empty())
                      return printer.Add(index, std::move(outcome));
                  held.emplace_back(index, std::move(outcome));
              });
    std::vector<size_t> relinked;
    for (auto& [index, outcome] : held)
    {
        const std::vector<std::string>& names = outcome.m_aReferencedNames;
        if (std::any_of(names.begin(), names.end(),
                        [&](const std::string& name) { return importedNames.count(name); }))
            relinked.push_back(index);
        else
            printer.Add(index, std::move(outcome));
    }
    ImportAll(batch, workers, files, relinked,
              [&](size_t index, ImportOutcome outcome) { printer.Add(index, std::move(outcome)); });
    for (const size_t index : dependent)
        printer.Add(index, ImportSource(batch, files[index]));
    printer.AddMissing();

    if (isatty(STDERR_FILENO))
        std::fprintf(stderr, "\n");
    std::printf("Imported %zu of %zu files into %s (%zu project files written), ",
                files.size() - printer.m_uiFailed - printer.m_uiUpToDate, files.size(), projectFolder.c_str(),
                printer.m_uiWritten);
    if (printer.m_uiUpToDate)
        std::printf("%zu up to date, ", printer.m_uiUpToDate);
    std::printf("%zu failed", printer.m_uiFailed);
    if (collected.m_uiSkipped)
        std::printf(", %zu skipped (no importer)", collected.m_uiSkipped);
    std::printf("\n");
    if (!options.m_strReport.empty())
    {
        ImportReport report;
        printer.Report(report);
        if (!report.Write(options.m_strReport, projectFolder))
            return 1;
    }
    return printer.m_uiFailed == 0 ? 0 : 1;
}

int RunImportWorker(KvresSession& session, const std::string& projectFolder)
{
    KvImportDriver driver(session.GetHost());
    const KvProjectStore project(projectFolder);
    KvSavedProject saved(projectFolder, session.GetHost().GetDescriptors());
    KvBatchImport batch(driver, project, saved);
    for (std::string line; std::getline(std::cin, line);)
    {
        const nlohmann::json request = nlohmann::json::parse(line, nullptr, false);
        const ImportOutcome outcome = request.is_object() ? ImportSource(batch, RequestFromJson(request))
                                                          : FailedOutcome("an unreadable request");
        std::cout << ToJson(outcome).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                  << std::endl;
    }
    return 0;
}
