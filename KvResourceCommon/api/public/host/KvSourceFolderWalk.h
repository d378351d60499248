#pragma once

#include "KvResourceCommonExport.h"

#include <map>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// The regular files below a source folder, in sorted order. Links are followed, to files and
// to folders, but a folder is walked once only, so a link loop ends at once and a link to a
// folder of the tree adds nothing. What cannot be
// read (a folder without permission, a broken or looping link) is skipped with a warning
// rather than ending the walk.
class KV_RESOURCECOMMON_API KvSourceFolderWalk
{
public:
    explicit KvSourceFolderWalk(const std::string& folder);

    const std::vector<std::string>& GetFiles() const { return m_aFiles; }
    // One "<path>: <reason>" per entry skipped, in the order met.
    const std::vector<std::string>& GetWarnings() const { return m_aWarnings; }

private:
    void Walk(const std::string& folder);

    std::vector<std::string> m_aFiles;
    std::vector<std::string> m_aWarnings;
    // Links to folders met, to follow once the real folders are walked.
    std::vector<std::string> m_aFolderLinks;
    // Device and inode of each folder walked, with the path it was first walked as.
    std::map<std::pair<dev_t, ino_t>, std::string> m_Walked;
};
