#pragma once

#include "Foundation/KvLog.h"
#include "host/KvResourceHost.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// What every kvres command works in: reports on standard error, fatal errors raised as
// exceptions (one failing job does not end the tool), and a host with the plug-in and the
// game modules loaded.
class KvresSession
{
public:
    KvresSession();
    ~KvresSession();

    KvresSession(const KvresSession&) = delete;
    KvresSession& operator=(const KvresSession&) = delete;

    // Loads the game modules, then the plug-in.
    KvResult LoadModules(const std::string& pluginPath, const std::vector<std::string>& gameModulePaths);

    KvResourceHost& GetHost() { return m_Host; }
    // When the tool, the host library or a module it loaded last changed: what an import made
    // before then may differ from what it makes now.
    std::filesystem::file_time_type GetToolStamp() const;
    // The modules loaded: the plug-in last.
    const std::string& GetPluginPath() const { return m_aModulePaths.back(); }
    std::vector<std::string> GetGameModulePaths() const
    {
        return {m_aModulePaths.begin(), m_aModulePaths.end() - 1};
    }

private:
    class StderrLog : public KvLogInterface
    {
    public:
        void Write(const char* category, uint32_t level, const char* message) override;
    };

    StderrLog m_Log;
    std::vector<std::string> m_aModulePaths;
    KvResourceHost m_Host;
};
