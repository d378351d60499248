#include "ImportOneCommand.h"

#include "ImportOutcome.h"
#include "KvresOutput.h"
#include "KvresSession.h"
#include "host/KvBatchImport.h"
#include "host/KvProjectStore.h"
#include "host/KvResourceHost.h"
#include "host/KvSavedProject.h"

#include <filesystem>

namespace
{
// An output folder that holds anything already would make the import read what no input
// declared: the GUIDs saved there.
KvResult CheckOutputFolder(const std::string& folder)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status))
        return {};
    if (!std::filesystem::is_directory(status))
        return KvResult::Failure("the output " + folder + " is not a folder");
    if (!std::filesystem::is_empty(folder, error) || error)
        return KvResult::Failure("the output folder " + folder + " is not empty");
    return {};
}
} // namespace

int RunImportOneCommand(KvresSession& session, const ImportOneOptions& options)
{
    if (const KvResult empty = CheckOutputFolder(options.m_strOutput); !empty)
    {
        KvresOutput::Failure(options.m_strSource, empty);
        return 1;
    }
    KvImportDriver driver(session.GetHost());
    const KvProjectStore output(options.m_strOutput);
    // Without a saved project the import reads the empty output folder, which holds nothing.
    const KvProjectStore savedProject(options.m_strProject.empty() ? options.m_strOutput
                                                                   : options.m_strProject);
    KvSavedProject saved(savedProject.GetFolder(), session.GetHost().GetDescriptors());
    KvBatchImport batch(driver, output, savedProject, saved);
    const ImportOutcome outcome =
        ImportSource(batch, {options.m_strSource, options.m_strRoot, options.m_strResourceType});
    if (outcome.m_eStatus == ImportOutcome::FAILED)
    {
        KvresOutput::Failure(options.m_strSource, KvResult::Failure(outcome.m_strReason));
        return 1;
    }
    KvresOutput::PrintWarnings(options.m_strSource, outcome.m_aWarnings);
    return 0;
}
