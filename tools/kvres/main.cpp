#include "AnimCommand.h"
#include "Foundation/KvError_Globals.h"
#include "Foundation/KvLog.h"
#include "TypeManager/KvTypeManager.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

namespace
{
// Shows every report of the pipeline on standard error.
class StderrLog : public KvLogInterface
{
public:
    void Write(const char* category, uint32_t level, const char* message) override
    {
        std::fprintf(stderr, "[%s:%u] %s\n", category, level, message);
    }
};

// Lists the classes registered with the process-wide type manager.
int ListClasses()
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    pManager->Validate();
    std::printf("%-6s %-32s %-32s %-9s %s\n", "index", "class", "parent", "abstract", "size");
    for (uint32_t index = 0; index < pManager->GetTypeCount(); ++index)
    {
        const KvTypeInfo* pType = pManager->GetTypeByIndex(index);
        std::printf("%-6u %-32s %-32s %-9s %u\n", pType->m_uiIndex, pType->m_strName.c_str(),
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
    CLI::App* pClasses =
        app.add_subcommand("classes", "List the run-time classes registered in this process");
    const std::function<int()> runAnim = AddAnimCommand(app);
    CLI11_PARSE(app, argc, argv);

    StderrLog log;
    KvLog::AddInterface(&log);
    // A fatal error fails the job at hand with its message instead of a dialog.
    if (tGlobals* pGlobals = KvError::GetGlobals())
        pGlobals->m_bShowMessageBox = 0;

    int result = 0;
    if (pClasses->parsed())
        result = ListClasses();
    else
        result = runAnim();
    KvLog::RemoveInterface(&log);
    return result;
}
