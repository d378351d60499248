#pragma once

#include "KvResourceCommonExport.h"
#include "host/KvImportDriver.h"

#include <map>
#include <string>
#include <vector>

class KvProjectStore;

// One import run into a project folder. Each source is imported and saved on its own, so any
// failure (the importer's, a refused name, a failed write, an exception) fails that source
// alone; a source that would replace a project file written earlier in the run fails too,
// naming the source that file came from.
class KV_RESOURCECOMMON_API KvBatchImport
{
public:
    KvBatchImport(KvImportDriver& driver, const KvProjectStore& project)
        : m_Driver(driver), m_Project(project)
    {
    }

    // Imports and saves one source, appending the project files written.
    KvResult ImportFile(const KvImportRequest& request, std::vector<std::string>& outWritten);

private:
    KvImportDriver& m_Driver;
    const KvProjectStore& m_Project;
    // The source each raw data file written in this run was imported from.
    std::map<std::string, std::string> m_SourceOfFile;
};
