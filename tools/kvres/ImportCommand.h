#pragma once

#include <string>
#include <vector>

class KvResourceHost;
class KvresSession;

// Prints one import as {"name", "resourceType", "raw", "payload", "placeholders"}, with
// bShowBound "bound" after "raw": the run-time object the type's binder made, or null; 1 when
// the import fails (the reason on standard error). Large byte arrays are the blob references a
// project would hold, or with bInlineBytes base64.
int RunShowCommand(KvResourceHost& host, const std::string& source, const std::string& resourceType,
                   bool bShowBound, bool bInlineBytes);

struct ImportOptions
{
    std::vector<std::string> m_aSources;
    std::string m_strProject;
    std::string m_strResourceType;
    // Where to write the per-file results as JSON; none when empty.
    std::string m_strReport;
    // Imports sources whose saved files are up to date too.
    bool m_bForce = false;
    // Worker processes importing at once; one imports in the tool itself.
    size_t m_uiJobs = 1;
    // Passed on to the workers.
    bool m_bVerbose = false;
};

// The hidden subcommand of a worker process of `kvres import --jobs`.
inline constexpr const char* kImportWorkerCommand = "import-worker";

// Imports files and folders (recursively) into a project folder: a progress bar on a
// terminal, one line per failure with its reason, a summary; sources whose saved files are up
// to date are skipped unless forced. 1 when any file failed.
int RunImportCommand(KvresSession& session, const ImportOptions& options);

// A worker: reads one request per line on standard input, imports it into the project and
// answers with one outcome per line on standard output, until its input ends.
int RunImportWorker(KvresSession& session, const std::string& projectFolder);
