#pragma once

#include "KvResourceCommonExport.h"
#include "host/KvImportDriver.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

class KvProjectStore;
class KvResourceDescriptor;
class KvSavedResources;

// What importing one source into a project did.
struct tImportedFile
{
    // The resource the source was imported as, once the importer made it.
    std::string m_strResource;
    // The project files written.
    std::vector<std::string> m_aWritten;
    // "<type name> '<resource name>'" when the source updated a saved resource; empty otherwise.
    std::string m_strUpdated;
    // The names of the resources its references name, each once: the project files of those
    // names decided whether each reference was saved whole or by name.
    std::vector<std::string> m_aReferencedNames;
};

// One import run into a project folder. Each source is imported and saved on its own, so any
// failure (the importer's, a refused name, a failed write, an exception) fails that source
// alone; a source that would replace a project file written earlier in the run fails too,
// naming the source that file came from. Sources that update saved resources find them among
// the project's saved resources.
class KV_RESOURCECOMMON_API KvBatchImport
{
public:
    KvBatchImport(KvImportDriver& driver, const KvProjectStore& project, KvSavedResources& saved)
        : KvBatchImport(driver, project, project, saved)
    {
    }
    // Writes below `output` only, and reads only `savedProject` (with `saved`, the resources it
    // holds) for what the imports keep or resolve: the GUIDs saved before, the targets of
    // references and the resources a source updates. One folder may be both.
    KvBatchImport(KvImportDriver& driver, const KvProjectStore& output, const KvProjectStore& savedProject,
                  KvSavedResources& saved)
        : m_Driver(driver), m_Project(output), m_SavedProject(savedProject), m_Saved(saved)
    {
    }

    // Imports and saves one source.
    KvResult ImportFile(const KvImportRequest& request, tImportedFile& outFile);
    // Claims the project file a source will be saved to before it is imported elsewhere (in
    // another process): fails as its import would when an earlier source of the run claimed it.
    // False in outCreates for a source that updates a saved resource or that no importer takes.
    KvResult Reserve(const KvImportRequest& request, bool& outCreates);
    // Whether the source need not be imported again: its saved files are newer than the source,
    // than the importer's minimum time stamp file (below the source root) and than `toolStamp`
    // (when the tool and its modules last changed), and the blobs they reference are all there.
    // A source that updates a saved resource, or that no importer takes, is never up to date.
    // Appends the saved files when it is.
    bool IsUpToDate(const KvImportRequest& request, std::filesystem::file_time_type toolStamp,
                    std::vector<std::string>& outSaved);

private:
    // Records the source a project file comes from; fails when another source of the run has it.
    KvResult Claim(const std::string& rawPath, const std::string& name, const KvResourceDescriptor& type,
                   const KvImportRequest& request);

    KvImportDriver& m_Driver;
    const KvProjectStore& m_Project;
    const KvProjectStore& m_SavedProject;
    KvSavedResources& m_Saved;
    // The source each raw data file written (or found up to date) in this run was imported from.
    std::map<std::string, std::string> m_SourceOfFile;
};
