#include "GcCommand.h"

#include "host/KvBlobStore.h"
#include "host/KvProjectLock.h"
#include "host/KvSourceFolderWalk.h"
#include "store/KvBlobReference.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace
{
using Json = nlohmann::ordered_json;

// Whether a path below the project lies in a hidden file or folder (temporaries, staging,
// the blobs), which holds no project file.
bool IsHidden(const fs::path& relative)
{
    for (const fs::path& component : relative)
        if (component.string().starts_with('.'))
            return true;
    return false;
}

// The hashes every project file references; false after printing why a file cannot be read.
bool CollectProjectReferences(const std::string& projectFolder, std::set<std::string>& outHashes)
{
    const KvSourceFolderWalk walk(projectFolder);
    for (const std::string& warning : walk.GetWarnings())
    {
        std::fprintf(stderr, "kvres gc: %s; no blob removed\n", warning.c_str());
        return false;
    }
    for (const std::string& path : walk.GetFiles())
    {
        if (!path.ends_with(".json") || IsHidden(fs::path(path).lexically_relative(projectFolder)))
            continue;
        std::ifstream file(path, std::ios::binary);
        const Json document = Json::parse(file, nullptr, false);
        if (!file || document.is_discarded())
        {
            std::fprintf(stderr, "kvres gc: %s: cannot be read as JSON; no blob removed\n", path.c_str());
            return false;
        }
        for (const KvBlobReference& reference : KvBlobReference::CollectIn(document))
            outHashes.insert(reference.m_strHash);
    }
    return true;
}

class BlobCollector
{
public:
    explicit BlobCollector(const std::set<std::string>& referenced) : m_rReferenced(referenced) {}

    // Every entry of the blob folder that is a blob no one references or a temporary; whatever
    // else the folder holds is not this tool's to remove.
    void Sweep(const fs::path& blobFolder)
    {
        for (const fs::directory_entry& entry : fs::directory_iterator(blobFolder))
        {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(KvBlobStore::kTemporaryPrefix) && entry.is_regular_file())
                Remove(entry.path());
            else if (entry.is_directory() && name.size() == 2)
                SweepFanOut(entry.path());
        }
    }

    void PrintSummary() const
    {
        std::printf("removed %zu files, freed %ju bytes\n", m_uiRemoved, m_ullFreed);
    }

private:
    void SweepFanOut(const fs::path& folder)
    {
        const std::string prefix = folder.filename().string();
        // Only files whose folder and name make up a hash are blobs.
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        {
            const std::string hash = prefix + entry.path().filename().string();
            if (entry.is_regular_file() && KvBlobReference::IsHash(hash) && !m_rReferenced.contains(hash))
                Remove(entry.path());
        }
        if (fs::is_empty(folder))
        {
            fs::remove(folder);
            std::printf("removed %s/\n", folder.string().c_str());
        }
    }

    void Remove(const fs::path& file)
    {
        const std::uintmax_t size = fs::file_size(file);
        fs::remove(file);
        std::printf("removed %s (%ju bytes)\n", file.string().c_str(), size);
        ++m_uiRemoved;
        m_ullFreed += size;
    }

    const std::set<std::string>& m_rReferenced;
    size_t m_uiRemoved = 0;
    std::uintmax_t m_ullFreed = 0;
};
} // namespace

int RunGcCommand(const std::string& projectFolder)
{
    std::error_code error;
    if (!fs::is_directory(projectFolder, error))
    {
        std::fprintf(stderr, "kvres gc: %s is not a folder\n", projectFolder.c_str());
        return 1;
    }
    KvProjectLock lock;
    const KvResult locked =
        lock.Acquire(projectFolder,
                     [&] {
                         std::fprintf(stderr, "kvres gc: waiting for an import into %s to finish\n",
                                      projectFolder.c_str());
                     });
    if (!locked)
    {
        std::fprintf(stderr, "kvres gc: %s\n", locked.GetReason().c_str());
        return 1;
    }
    std::set<std::string> referenced;
    if (!CollectProjectReferences(projectFolder, referenced))
        return 1;
    BlobCollector collector(referenced);
    const fs::path blobFolder = KvBlobStore(projectFolder).GetFolder();
    try
    {
        if (fs::is_directory(blobFolder))
            collector.Sweep(blobFolder);
    }
    catch (const fs::filesystem_error& failure)
    {
        collector.PrintSummary();
        std::fprintf(stderr, "kvres gc: %s\n", failure.what());
        return 1;
    }
    collector.PrintSummary();
    return 0;
}
