#pragma once

#include "KvResourceCommonExport.h"

#include <string>

// The host's folders.
class KV_RESOURCECOMMON_API KvFileSystemInterface
{
public:
    enum tFolderKind : uint32_t
    {
        FOLDER_BASE = 0,
    };

    // The folder of a kind, ending with a path separator; empty for an unknown kind.
    virtual void GetFolder(tFolderKind kind, std::string& outFolder) const;
    // The process's interface.
    static KvFileSystemInterface* GetInterface();
    // Sets the base folder (the project root); a missing final separator is added.
    void SetBaseFolder(const std::string& folder);

private:
    std::string m_strBaseFolder = "./";
};
