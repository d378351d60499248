#include "KvresSession.h"

#include "Foundation/KvError_Globals.h"
#include "KvresOutput.h"

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
    for (const std::string& path : gameModulePaths)
        if (KvResult loaded = m_Host.LoadGameModule(path); !loaded)
            return loaded;
    return m_Host.LoadPlugin(pluginPath);
}
