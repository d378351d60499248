#pragma once

#include <string>

// Where kvres finds a module it loads by default: in the folders of KV_PLUGIN_PATH (separated by
// ':'), then in the lib folder beside the tool's own bin folder. No build or install path is
// compiled in, so the tool moves with its modules. Without a match, the path in that lib folder,
// so that loading names the place looked at last.
std::string FindModule(const std::string& fileName);
