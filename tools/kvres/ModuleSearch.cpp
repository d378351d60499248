#include "ModuleSearch.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

std::string FindModule(const std::string& fileName)
{
    std::error_code error;
    if (const char* pSearchPath = std::getenv("KV_PLUGIN_PATH"))
    {
        std::istringstream folders(pSearchPath);
        for (std::string folder; std::getline(folders, folder, ':');)
            if (!folder.empty() && fs::is_regular_file(fs::path(folder) / fileName, error))
                return (fs::path(folder) / fileName).string();
    }
    const fs::path tool = fs::read_symlink("/proc/self/exe", error);
    return (tool.parent_path().parent_path() / "lib" / fileName).string();
}
