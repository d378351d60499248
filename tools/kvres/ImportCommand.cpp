#include "ImportCommand.h"

#include "ImportReport.h"
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
#include "store/KvJsonStore.h"
#include "store/KvJsonString.h"
#include "store/KvJsonTextWriter.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
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
                   bool bShowBound)
{
    try
    {
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
                          result.GetPlaceholderAddresses());
        if (bShowBound)
        {
            shown.Key("bound");
            const KvResourceBinder* pBinder = host.GetBinders().FindByResourceType(pDescriptor);
            const KvBoundObject bound =
                pBinder ? pBinder->GetBoundObject(resource.GetRawData()) : KvBoundObject();
            if (bound.m_pObject)
                KvJsonStore::Save(shown, bound.m_pType, bound.m_pObject);
            else
                shown.Null();
        }
        shown.Key("payload");
        if (resource.GetPayload() && pDescriptor->GetPayloadDataType())
            KvJsonStore::Save(shown, pDescriptor->GetPayloadDataType(), resource.GetPayload());
        else
            shown.Null();
        shown.Key("placeholders");
        shown.BeginArray();
        for (const KvTempXRef& placeholder : result.m_aPlaceholders)
            KvJsonStore::Save(shown, placeholder.second, placeholder.first);
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

int RunImportCommand(KvresSession& session, const ImportOptions& options)
{
    KvResourceHost& host = session.GetHost();
    const std::string& projectFolder = options.m_strProject;
    ImportReport report;
    KvProjectLock lock;
    if (!LockProject(lock, projectFolder))
        return 1;
    KvImportDriver driver(host);
    const tSources collected = CollectSources(options.m_aSources, options.m_strResourceType, driver);
    const std::vector<KvImportRequest>& files = collected.m_aFiles;
    for (const std::string& path : collected.m_aMissing)
    {
        const KvResult missing = KvResult::Failure("no such file or folder");
        KvresOutput::Failure(path, missing);
        report.Add(path, "", {}, ImportReport::kFailed, missing.GetOneLineReason(), 0.0);
    }
    const bool bTerminal = isatty(STDERR_FILENO) != 0;
    const KvProjectStore project(projectFolder);
    // Loaded only when a source updates a saved resource.
    KvSavedProject saved(projectFolder, host.GetDescriptors());
    KvBatchImport batch(driver, project, saved);
    const size_t total = files.size() + collected.m_aMissing.size();
    size_t failed = collected.m_aMissing.size();
    size_t written = 0;
    size_t upToDate = 0;
    const std::filesystem::file_time_type toolStamp = session.GetToolStamp();
    for (size_t index = 0; index < files.size(); ++index)
    {
        const KvImportRequest& file = files[index];
        if (bTerminal)
            ShowProgress(index, files.size(), file.m_strSourcePath);
        const auto started = std::chrono::steady_clock::now();
        const auto milliseconds = [&]
        {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
        };
        std::vector<std::string> savedFiles;
        if (!options.m_bForce && batch.IsUpToDate(file, toolStamp, savedFiles))
        {
            ++upToDate;
            report.Add(file.m_strSourcePath, "", savedFiles, ImportReport::kUpToDate, "", milliseconds());
            continue;
        }
        tImportedFile imported;
        const KvResult result = batch.ImportFile(file, imported);
        report.Add(file.m_strSourcePath, imported.m_strResource, imported.m_aWritten,
                   result ? ImportReport::kImported : ImportReport::kFailed, result.GetOneLineReason(),
                   milliseconds());
        written += imported.m_aWritten.size();
        // The progress bar makes way for whatever this file reports.
        if (bTerminal && (!result || !imported.m_strUpdated.empty() || KvresOutput::HasPending()))
            std::fprintf(stderr, "\r%-80s\r", "");
        if (!result)
        {
            ++failed;
            KvresOutput::Failure(file.m_strSourcePath, result);
            continue;
        }
        KvresOutput::Warnings(file.m_strSourcePath);
        if (!imported.m_strUpdated.empty())
            std::printf("Updated the saved %s from %s\n", imported.m_strUpdated.c_str(),
                        file.m_strSourcePath.c_str());
    }
    if (bTerminal)
        ShowProgress(files.size(), files.size(), "done");
    if (bTerminal)
        std::fprintf(stderr, "\n");
    std::printf("Imported %zu of %zu files into %s (%zu project files written), ", total - failed - upToDate,
                total, projectFolder.c_str(), written);
    if (upToDate)
        std::printf("%zu up to date, ", upToDate);
    std::printf("%zu failed", failed);
    if (collected.m_uiSkipped)
        std::printf(", %zu skipped (no importer)", collected.m_uiSkipped);
    std::printf("\n");
    if (!options.m_strReport.empty() && !report.Write(options.m_strReport, projectFolder))
        return 1;
    return failed == 0 ? 0 : 1;
}
