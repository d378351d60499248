#pragma once

#include <string>
#include <vector>

class KvResourceHost;

// Prints one import as {"name", "resourceType", "raw", "payload", "placeholders"}, with
// bShowBound "bound" after "raw": the run-time object the type's binder made, or null; 1 when
// the import fails (the reason on standard error).
int RunShowCommand(KvResourceHost& host, const std::string& source, const std::string& resourceType,
                   bool bShowBound);

// Imports files and folders (recursively) into a project folder: a progress bar on a
// terminal, one line per failure with its reason, a summary, and with a report path the
// per-file results as JSON; 1 when any file failed.
int RunImportCommand(KvResourceHost& host, const std::vector<std::string>& sources,
                     const std::string& projectFolder, const std::string& resourceType,
                     const std::string& reportPath);
