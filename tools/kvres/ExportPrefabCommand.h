#pragma once

#include <string>

class KvResourceHost;

// Runs the "Export Prefab" action of the prefab saved as NAME in a project through an undo
// history and prints the path of the file written: the action's file below the project folder,
// or `outputFile` when one is given. The file is written beside its destination and moved over
// it when complete, so a failed export leaves an earlier file intact. 1 when the project holds
// no such prefab or the export fails (the reason on standard error).
int RunExportPrefabCommand(KvResourceHost& host, const std::string& name, const std::string& projectFolder,
                           const std::string& outputFile);
