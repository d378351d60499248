#include "host/KvSourceFolderWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

KvSourceFolderWalk::KvSourceFolderWalk(const std::string& folder)
{
    // Links to folders are followed after every real folder is walked: a folder of the tree
    // keeps the name of its own place, and a link to it is the one skipped.
    Walk(folder);
    for (size_t index = 0; index < m_aFolderLinks.size(); ++index)
    {
        // A copy: walking a link may add further links and move the list.
        const std::string link = m_aFolderLinks[index];
        Walk(link);
    }
    std::sort(m_aFiles.begin(), m_aFiles.end());
}

void KvSourceFolderWalk::Walk(const std::string& folder)
{
    struct stat info;
    if (stat(folder.c_str(), &info) != 0)
    {
        m_aWarnings.push_back(folder + ": " + std::strerror(errno));
        return;
    }
    const auto [walked, bFirst] = m_Walked.emplace(std::make_pair(info.st_dev, info.st_ino), folder);
    if (!bFirst)
    {
        m_aWarnings.push_back(folder + ": the folder was walked already as " + walked->second);
        return;
    }
    std::error_code error;
    std::vector<std::string> folders;
    const size_t linksBefore = m_aFolderLinks.size();
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
    {
        std::error_code entryError;
        const fs::file_status status = entry->status(entryError);
        if (entryError)
            m_aWarnings.push_back(entry->path().string() + ": " + entryError.message());
        else if (fs::is_directory(status))
            (entry->is_symlink(entryError) ? m_aFolderLinks : folders).push_back(entry->path().string());
        else if (fs::is_regular_file(status))
            m_aFiles.push_back(entry->path().string());
    }
    if (error)
        m_aWarnings.push_back(folder + ": " + error.message());
    // Sorted, so that which of two links to one folder is followed does not depend on the
    // order the file system lists them in.
    std::sort(folders.begin(), folders.end());
    std::sort(m_aFolderLinks.begin() + static_cast<ptrdiff_t>(linksBefore), m_aFolderLinks.end());
    for (const std::string& subfolder : folders)
        Walk(subfolder);
}
