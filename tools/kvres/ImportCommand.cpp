#include "ImportCommand.h"

#include "Host/KvImportDriver.h"
#include "Host/KvProjectStore.h"
#include "Host/KvResourceHost.h"
#include "Resources/KvResourceDescriptor.h"
#include "Store/KvJsonStore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
struct tSourceFile
{
    std::string m_strPath;
    std::string m_strRoot;
};

struct tSources
{
    std::vector<tSourceFile> m_aFiles;
    std::vector<std::string> m_aMissing;
    // Files met in folders that no importer handles (read-me files, sources of other tools).
    size_t m_uiSkipped = 0;
};

// Files of the arguments: a folder gives every importable file below it (the folder is their
// root), a named file itself whatever its extension, so that a wrong one fails visibly.
tSources CollectSources(const std::vector<std::string>& arguments, const KvImportDriver& driver)
{
    tSources sources;
    for (const std::string& argument : arguments)
    {
        std::error_code error;
        if (fs::is_directory(argument, error))
        {
            std::vector<std::string> found;
            for (const fs::directory_entry& entry : fs::recursive_directory_iterator(argument, error))
                if (entry.is_regular_file())
                    found.push_back(entry.path().string());
            std::sort(found.begin(), found.end());
            for (const std::string& path : found)
            {
                if (driver.HandlesExtensionOf(path))
                    sources.m_aFiles.push_back({path, argument});
                else
                    ++sources.m_uiSkipped;
            }
        }
        else if (fs::is_regular_file(argument, error))
            sources.m_aFiles.push_back({argument, fs::path(argument).parent_path().string()});
        else
            sources.m_aMissing.push_back(argument);
    }
    return sources;
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

int RunShowCommand(KvResourceHost& host, const std::string& source, const std::string& resourceType)
{
    const fs::path path(source);
    KvImportResult result = KvImportDriver(host).Import({source, path.parent_path().string(), resourceType});
    if (!result.Succeeded())
    {
        std::fprintf(stderr, "kvres show: %s: %s\n", source.c_str(), result.m_strError.c_str());
        return 1;
    }
    const KvResource& resource = *result.m_pResource;
    const KvResourceDescriptor* pDescriptor = resource.GetDescriptor();
    KvJsonStore::Json shown = KvJsonStore::Json::object();
    shown["name"] = KvStringToJson(resource.GetName());
    shown["resourceType"] = pDescriptor->GetTypeName();
    shown["raw"] = KvJsonStore::Save(pDescriptor->GetRootDataType(), resource.GetRawData(),
                                     result.GetPlaceholderAddresses());
    shown["payload"] = resource.GetPayload() && pDescriptor->GetPayloadDataType()
                           ? KvJsonStore::Save(pDescriptor->GetPayloadDataType(), resource.GetPayload())
                           : KvJsonStore::Json(nullptr);
    KvJsonStore::Json placeholders = KvJsonStore::Json::array();
    for (const KvTempXRef& placeholder : result.m_aPlaceholders)
        placeholders.push_back(KvJsonStore::Save(placeholder.second, placeholder.first));
    shown["placeholders"] = placeholders;
    std::printf("%s\n", shown.dump(2).c_str());
    return 0;
}

int RunImportCommand(KvResourceHost& host, const std::vector<std::string>& sources,
                     const std::string& projectFolder, const std::string& resourceType)
{
    KvImportDriver driver(host);
    const tSources collected = CollectSources(sources, driver);
    const std::vector<tSourceFile>& files = collected.m_aFiles;
    for (const std::string& path : collected.m_aMissing)
        std::fprintf(stderr, "FAILED %s: no such file or folder\n", path.c_str());
    const bool bTerminal = isatty(STDERR_FILENO) != 0;
    const KvProjectStore project(projectFolder);
    const size_t total = files.size() + collected.m_aMissing.size();
    size_t failed = collected.m_aMissing.size();
    size_t written = 0;
    for (size_t index = 0; index < files.size(); ++index)
    {
        const tSourceFile& file = files[index];
        if (bTerminal)
            ShowProgress(index, files.size(), file.m_strPath);
        KvImportResult result = driver.Import({file.m_strPath, file.m_strRoot, resourceType});
        std::vector<std::string> outputs;
        std::string reason = result.m_strError;
        if (result.Succeeded() &&
            !project.Save(*result.m_pResource, result.GetPlaceholderAddresses(), outputs))
            reason = "the project files could not be written";
        written += outputs.size();
        if (!reason.empty())
        {
            ++failed;
            if (bTerminal)
                std::fprintf(stderr, "\r%-80s\r", "");
            std::fprintf(stderr, "FAILED %s: %s\n", file.m_strPath.c_str(), reason.c_str());
        }
    }
    if (bTerminal)
        ShowProgress(files.size(), files.size(), "done");
    if (bTerminal)
        std::fprintf(stderr, "\n");
    std::printf("Imported %zu of %zu files into %s (%zu project files written), %zu failed", total - failed,
                total, projectFolder.c_str(), written, failed);
    if (collected.m_uiSkipped)
        std::printf(", %zu skipped (no importer)", collected.m_uiSkipped);
    std::printf("\n");
    return failed == 0 ? 0 : 1;
}
