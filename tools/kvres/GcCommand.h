#pragma once

#include <string>

// Removes what the project's blob folder holds that no project file references: blobs, the
// fan-out folders they leave empty and temporaries of interrupted saves. Prints each removal
// and the bytes freed. Refuses (1) when a project file cannot be read, since its references
// are unknown, and waits for an import into the project to finish first.
int RunGcCommand(const std::string& projectFolder);
