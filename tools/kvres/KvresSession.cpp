#include "KvresSession.h"

#include "Foundation/KvError_Globals.h"
#include "KvresOutput.h"
#include "host/KvProjectStore.h"

#include <dlfcn.h>

void KvresSession::StderrLog::Write(const char* category, uint32_t level, const char* message)
{
    KvresOutput::Logged(category, level, message);
}

KvresSession::KvresSession()
{
    KvLog::AddInterface(&m_Log);
    if (tGlobals* pGlobals = KvError::GetGlobals())
    {
        pGlobals->m_bShowMessageBox = 0;
        pGlobals->m_bRaiseException = 1;
    }
}

KvresSession::~KvresSession()
{
    KvLog::RemoveInterface(&m_Log);
}

KvResult KvresSession::LoadModules(const std::string& pluginPath,
                                   const std::vector<std::string>& gameModulePaths)
{
    m_aModulePaths = gameModulePaths;
    m_aModulePaths.push_back(pluginPath);
    for (const std::string& path : gameModulePaths)
        if (KvResult loaded = m_Host.LoadGameModule(path); !loaded)
            return loaded;
    return m_Host.LoadPlugin(pluginPath);
}

std::filesystem::file_time_type KvresSession::GetToolStamp() const
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::file_time_type stamp = fs::last_write_time("/proc/self/exe", error);
    if (error)
        return fs::file_time_type::max();
    // The host library is the tool's too: the import's saving and identity rules live there.
    std::vector<std::string> paths = m_aModulePaths;
    Dl_info host = {};
    if (dladdr(reinterpret_cast<const void*>(&KvProjectStore::CheckResourceName), &host) == 0 ||
        !host.dli_fname)
        return fs::file_time_type::max();
    paths.emplace_back(host.dli_fname);
    for (const std::string& path : paths)
    {
        const fs::file_time_type module = fs::last_write_time(path, error);
        if (error)
            return fs::file_time_type::max();
        stamp = std::max(stamp, module);
    }
    return stamp;
}
