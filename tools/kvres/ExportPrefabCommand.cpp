#include "ExportPrefabCommand.h"

#include "actions/KvUndoHistory.h"
#include "host/KvLogCapture.h"
#include "host/KvResourceHost.h"
#include "host/KvSavedProject.h"
#include "host/KvSourceFolderWalk.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvFileSystemInterface.h"
#include "resources/KvResourceDescriptor.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
constexpr const char* kExportMenu = "Export Prefab";

// The action factory a type offers under a menu name, or null.
KvAttribute_NativeAction::Factory FindActionFactory(const KvReflectedDataType& type, const char* menu)
{
    for (const KvAttribute* pAttribute : type.GetAttributes())
        if (pAttribute->GetKind() == KvAttribute_NativeAction::kKind)
            if (const auto* pAction = static_cast<const KvAttribute_NativeAction*>(pAttribute);
                pAction->GetMenuName() == menu)
                return pAction->GetFactory();
    return nullptr;
}

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

// Runs the action through an undo history; the reports it logged are the failure.
KvResult RunAction(const KvSmartPtr<KvNativeAction>& action)
{
    KvLogCapture log;
    KvUndoHistory history;
    history.Do(action);
    if (log.GetMessages().empty())
        return {};
    std::string reason;
    for (const std::string& message : log.GetMessages())
        reason += (reason.empty() ? "" : "\n") + message;
    return KvResult::Failure(reason);
}

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
KvResult ExportPrefab(KvResource& prefab, KvAttribute_NativeAction::Factory factory,
                      const std::string& projectFolder, const std::string& outputFile, std::string& outPath)
{
    std::error_code error;
    const StagingFolder staging(outputFile.empty() ? fs::path(projectFolder)
                                                   : fs::absolute(outputFile, error).parent_path());
    if (staging.GetError())
        return KvResult::Failure(staging.GetPath().string() +
                                 ": cannot be created: " + staging.GetError().message());
    KvFileSystemInterface::GetInterface()->SetBaseFolder(staging.GetPath().string());
    // A class-level factory reads the selected object from the object or the member data.
    std::vector<KvSmartPtr<KvNativeAction>> actions;
    void* pRaw = prefab.GetRawData();
    factory(actions, &prefab, prefab.GetDescriptor()->GetRootDataType(), pRaw, nullptr, pRaw);
    if (actions.size() != 1)
        return KvResult::Failure("the prefab offers " + std::to_string(actions.size()) + " exports, not one");
    if (KvResult exported = RunAction(actions.front()); !exported)
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
    // Resource names use backslashes; either separator names the prefab.
    std::string resourceName = name;
    std::replace(resourceName.begin(), resourceName.end(), '/', '\\');
    try
    {
        KvSavedProject project(projectFolder, host.GetDescriptors());
        for (const KvSmartPtr<KvResource>& pResource : project.GetResources())
        {
            const KvAttribute_NativeAction::Factory factory =
                FindActionFactory(*pResource->GetDescriptor()->GetRootDataType(), kExportMenu);
            if (!factory || pResource->GetName() != resourceName)
                continue;
            std::string written;
            if (const KvResult exported =
                    ExportPrefab(*pResource, factory, projectFolder, outputFile, written);
                !exported)
            {
                std::fprintf(stderr, "FAILED %s: %s\n", name.c_str(), exported.GetReason().c_str());
                return 1;
            }
            std::printf("%s\n", written.c_str());
            return 0;
        }
    }
    catch (...)
    {
        std::fprintf(stderr, "FAILED %s: %s\n", name.c_str(),
                     KvResult::FailureOfCurrentException().GetReason().c_str());
        return 1;
    }
    std::fprintf(stderr, "kvres export-prefab: the project %s holds no prefab named '%s'\n",
                 projectFolder.c_str(), resourceName.c_str());
    return 1;
}
