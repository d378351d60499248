#include "ActionCommand.h"
#include "AnimCommand.h"
#include "ExportPrefabCommand.h"
#include "GcCommand.h"
#include "ImportCommand.h"
#include "ImportOneCommand.h"
#include "KvresOutput.h"
#include "KvresSession.h"
#include "ModuleSearch.h"
#include "SchemaCommand.h"
#include "TypeManager/KvTypeManager.h"
#include "TypesCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace
{
// What a command line the tool cannot use ends with.
constexpr int kUsageErrorStatus = 2;

// Lists the classes registered with the process-wide type manager.
int ListClasses()
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    std::printf("%-6s %-40s %-40s %-9s %s\n", "index", "class", "parent", "abstract", "size");
    for (uint32_t index = 0; index < pManager->GetTypeCount(); ++index)
    {
        const KvTypeInfo* pType = pManager->GetTypeByIndex(index);
        std::printf("%-6u %-40s %-40s %-9s %u\n", pType->m_uiIndex, pType->m_strName.c_str(),
                    pType->m_pParent ? pType->m_pParent->m_strName.c_str() : "-",
                    pType->m_bAbstract ? "yes" : "no", pType->m_uiObjectSize);
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"kvres: the Core resource pipeline"};
    app.require_subcommand(1);
    std::string pluginPath = FindModule(KV_DEFAULT_PLUGIN);
    std::vector<std::string> gameModules = {FindModule(KV_DEFAULT_GAME_MODULE)};
    app.add_option("--plugin", pluginPath, "The resource plug-in to load")->capture_default_str();
    app.add_option("--game-module", gameModules, "Game modules to load before the plug-in")
        ->capture_default_str();
    bool bVerbose = false;
    app.add_flag("-v,--verbose", bVerbose,
                 "Show every logged message as it comes, and where in the code failures were reported");
    app.set_version_flag("--version", "kvres " KV_VERSION);

    CLI::App* pClasses = app.add_subcommand("classes", "List the run-time classes registered in the process");
    CLI::App* pTypes = app.add_subcommand("types", "List the registered resource types and their importers");
    CLI::App* pSchema = app.add_subcommand("schema", "Show the reflected schema of a type");
    std::string schemaType;
    bool bSchemaJson = false;
    bool bSchemaReachable = false;
    pSchema->add_option("type", schemaType, "Reflected type name")->required();
    pSchema->add_flag("--json", bSchemaJson, "Machine-readable form");
    pSchema->add_flag("--reachable", bSchemaReachable, "Also every type the schema's members name");
    CLI::App* pShow = app.add_subcommand("show", "Import one source file and print the result as JSON");
    std::string showSource;
    std::string resourceType;
    pShow->add_option("source", showSource, "Source file")->required();
    pShow->add_option("--type", resourceType, "Resource type (name or short name) for a shared extension");
    bool bShowBound = false;
    pShow->add_flag("--bind", bShowBound,
                    "Also print what the type's binder made of the raw data, as \"bound\"");
    bool bInlineBytes = false;
    pShow->add_flag("--inline-bytes", bInlineBytes,
                    "Print large byte arrays as base64 instead of the blob references a project holds");
    CLI::App* pImport = app.add_subcommand("import", "Import source files and folders into a project folder");
    ImportOptions import;
    pImport->add_option("sources", import.m_aSources, "Source files and folders")->required();
    pImport->add_option("--project", import.m_strProject, "Project folder to write")->required();
    pImport->add_option("--type", import.m_strResourceType,
                        "Resource type (name or short name) for a shared extension");
    pImport->add_option("--report", import.m_strReport, "Write the per-file results as JSON to this file");
    pImport->add_flag("--force", import.m_bForce, "Import sources whose saved files are up to date too");
    import.m_uiJobs = std::max(1u, std::thread::hardware_concurrency());
    pImport->add_option("-j,--jobs", import.m_uiJobs, "Worker processes importing at once")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    CLI::App* pImportWorker = app.add_subcommand(kImportWorkerCommand, "")->group("");
    pImportWorker->add_option("--project", import.m_strProject)->required();
    CLI::App* pImportOne = app.add_subcommand(
        "import-one", "Import one source into its own output folder, reading nothing it is not given");
    ImportOneOptions importOne;
    pImportOne->add_option("source", importOne.m_strSource, "Source file")->required();
    pImportOne->add_option("--root", importOne.m_strRoot, "Folder the resource name is relative to")
        ->required();
    pImportOne->add_option("--out", importOne.m_strOutput, "Folder to write, missing or empty")->required();
    pImportOne->add_option("--project", importOne.m_strProject,
                           "Saved project to resolve references against and to update");
    pImportOne->add_option("--type", importOne.m_strResourceType,
                           "Resource type (name or short name) for a shared extension");
    CLI::App* pExportPrefab =
        app.add_subcommand("export-prefab", "Export a saved prefab as a prefab file of the run-time engine");
    std::string prefabName;
    std::string exportProject;
    std::string exportOutput;
    pExportPrefab->add_option("name", prefabName, "Resource name of the prefab")->required();
    pExportPrefab->add_option("--project", exportProject, "Project folder holding the prefab")->required();
    pExportPrefab->add_option("-o,--output", exportOutput,
                              "File to write instead of export/actorprefabs/ in the project");
    CLI::App* pGc =
        app.add_subcommand("gc", "Remove the blobs of a project folder that no project file references");
    std::string gcProject;
    pGc->add_option("--project", gcProject, "Project folder")->required();
    const KvresActionCommand action = AddActionCommand(app);
    const std::function<int()> runAnim = AddAnimCommand(app);
    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::ParseError& error)
    {
        // Help is a success; every misuse is the conventional status 2, whatever the library's own code.
        return app.exit(error) == 0 ? 0 : kUsageErrorStatus;
    }

    KvresOutput::SetVerbose(bVerbose);
    KvresSession session;
    const int status = [&]() -> int
    {
        if (pClasses->parsed() || pTypes->parsed() || pSchema->parsed() || pShow->parsed() ||
            pImport->parsed() || pImportWorker->parsed() || pImportOne->parsed() || pExportPrefab->parsed() ||
            action.m_pCommand->parsed())
        {
            if (const KvResult loaded = session.LoadModules(pluginPath, gameModules); !loaded)
            {
                std::fprintf(stderr, "kvres: %s\n", loaded.GetReason().c_str());
                return 1;
            }
        }
        if (pClasses->parsed())
            return ListClasses();
        if (pTypes->parsed())
            return RunTypesCommand(session.GetHost());
        if (pSchema->parsed())
            return RunSchemaCommand(schemaType, bSchemaJson, bSchemaReachable);
        if (pShow->parsed())
            return RunShowCommand(session.GetHost(), showSource, resourceType, bShowBound, bInlineBytes);
        if (pImport->parsed())
        {
            import.m_bVerbose = bVerbose;
            return RunImportCommand(session, import);
        }
        if (pImportWorker->parsed())
            return RunImportWorker(session, import.m_strProject);
        if (pImportOne->parsed())
            return RunImportOneCommand(session, importOne);
        if (pGc->parsed())
            return RunGcCommand(gcProject);
        if (pExportPrefab->parsed())
            return RunExportPrefabCommand(session.GetHost(), prefabName, exportProject, exportOutput);
        if (action.m_pCommand->parsed())
            return action.m_Run(session.GetHost());
        return runAnim();
    }();
    // What was logged outside any job.
    KvresOutput::Warnings("");
    return status;
}
