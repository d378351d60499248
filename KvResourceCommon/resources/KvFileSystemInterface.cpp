#include "resources/KvFileSystemInterface.h"

void KvFileSystemInterface::GetFolder(tFolderKind kind, std::string& outFolder) const
{
    outFolder = kind == FOLDER_BASE ? m_strBaseFolder : std::string();
}

KvFileSystemInterface* KvFileSystemInterface::GetInterface()
{
    // The host library is one module, so its static is the process's.
    static KvFileSystemInterface s_Interface;
    return &s_Interface;
}

void KvFileSystemInterface::SetBaseFolder(const std::string& folder)
{
    m_strBaseFolder = folder;
    if (m_strBaseFolder.empty() || (m_strBaseFolder.back() != '/' && m_strBaseFolder.back() != '\\'))
        m_strBaseFolder += '/';
}
