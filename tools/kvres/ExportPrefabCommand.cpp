#include "ExportPrefabCommand.h"

#include "ActionRun.h"
#include "KvresOutput.h"
#include "actions/KvActionMenu.h"
#include "host/KvResourceHost.h"
#include "host/KvSavedProject.h"
#include "host/KvSourceFolderWalk.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvFileSystemInterface.h"
#include "resources/KvResourceDescriptor.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
constexpr const char* kExportMenu = "Export Prefab";

// A hidden folder of this process that the action writes into, on the destination's file system
// so that the finished file is renamed into place; removed with what it holds.
class StagingFolder
{
public:
    explicit StagingFolder(const fs::path& beside)
        : m_Path(beside / (".kvexport." + std::to_string(getpid())))
    {
        fs::remove_all(m_Path, m_Error);
        fs::create_directories(m_Path, m_Error);
    }
    ~StagingFolder()
    {
        std::error_code error;
        fs::remove_all(m_Path, error);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const fs::path& GetPath() const { return m_Path; }
    const std::error_code& GetError() const { return m_Error; }

private:
    fs::path m_Path;
    std::error_code m_Error;
};

// Moves the one file the action wrote below the staging folder to its destination: the same
// place below the project folder, or the output file.
KvResult MoveIntoPlace(const StagingFolder& staging, const std::string& projectFolder,
                       const std::string& outputFile, std::string& outPath)
{
    const std::vector<std::string> written = KvSourceFolderWalk(staging.GetPath().string()).GetFiles();
    if (written.size() != 1)
        return KvResult::Failure("the export wrote " + std::to_string(written.size()) + " files, not one");
    const fs::path destination =
        outputFile.empty()
            ? fs::path(projectFolder) / fs::path(written.front()).lexically_relative(staging.GetPath())
            : fs::path(outputFile);
    std::error_code error;
    fs::create_directories(destination.parent_path(), error);
    if (!error)
        fs::rename(written.front(), destination, error);
    if (error)
        return KvResult::Failure(destination.string() + ": cannot be written: " + error.message());
    outPath = destination.string();
    return {};
}

// Exports a saved prefab with the factory of its export action; the written file's path.
KvResult ExportPrefab(KvResource& prefab, const KvAttribute_NativeAction& menu,
                      const std::string& projectFolder, const std::string& outputFile, std::string& outPath)
{
    std::error_code error;
    const StagingFolder staging(outputFile.empty() ? fs::path(projectFolder)
                                                   : fs::absolute(outputFile, error).parent_path());
    if (staging.GetError())
        return KvResult::Failure(staging.GetPath().string() +
                                 ": cannot be created: " + staging.GetError().message());
    KvFileSystemInterface::GetInterface()->SetBaseFolder(staging.GetPath().string());
    const std::vector<KvSmartPtr<KvNativeAction>> actions = KvActionMenu::GetActions(
        menu, prefab, {"", prefab.GetDescriptor()->GetRootDataType(), prefab.GetRawData()});
    if (actions.size() != 1)
        return KvResult::Failure("the prefab offers " + std::to_string(actions.size()) + " exports, not one");
    std::vector<KvResource*> modified;
    if (KvResult exported = RunAction(actions.front(), false, modified); !exported)
        return exported;
    return MoveIntoPlace(staging, projectFolder, outputFile, outPath);
}
} // namespace

int RunExportPrefabCommand(KvResourceHost& host, const std::string& name, const std::string& projectFolder,
                           const std::string& outputFile)
{
    std::error_code error;
    if (!fs::is_directory(projectFolder, error))
    {
        std::fprintf(stderr, "kvres export-prefab: no project folder %s\n", projectFolder.c_str());
        return 1;
    }
    const std::string resourceName = ToResourceName(name);
    try
    {
        KvSavedProject project(projectFolder, host.GetDescriptors());
        for (const KvSmartPtr<KvResource>& pResource : project.GetResources())
        {
            const KvAttribute_NativeAction* pMenu =
                KvActionMenu::FindMenu(*pResource->GetDescriptor()->GetRootDataType(), kExportMenu);
            if (!pMenu || pResource->GetName() != resourceName)
                continue;
            std::string written;
            if (const KvResult exported =
                    ExportPrefab(*pResource, *pMenu, projectFolder, outputFile, written);
                !exported)
            {
                KvresOutput::Failure(name, exported);
                return 1;
            }
            std::printf("%s\n", written.c_str());
            return 0;
        }
    }
    catch (...)
    {
        KvresOutput::Failure(name, KvResult::FailureOfCurrentException());
        return 1;
    }
    std::fprintf(stderr, "kvres export-prefab: the project %s holds no prefab named '%s'\n",
                 projectFolder.c_str(), resourceName.c_str());
    return 1;
}
