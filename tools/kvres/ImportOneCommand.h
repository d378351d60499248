#pragma once

#include <string>

class KvresSession;

struct ImportOneOptions
{
    std::string m_strSource;
    // The folder resource names are relative to.
    std::string m_strRoot;
    // Where the source's project files and blobs go: missing or empty.
    std::string m_strOutput;
    // The saved project the import reads (references, kept GUIDs, the resource a source
    // updates); none when empty.
    std::string m_strProject;
    std::string m_strResourceType;
};

// Imports one source as a build action would: it reads the source and the saved project it is
// given, writes the source's files below the output folder and nothing else, and gives the
// same bytes for the same inputs on any machine, in any order. Prints only failures and
// warnings; 1 when the import fails.
int RunImportOneCommand(KvresSession& session, const ImportOneOptions& options);
