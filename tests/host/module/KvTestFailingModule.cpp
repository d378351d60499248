// A module whose start-up fails through the fatal routine, as a plug-in and as a game module.
#include "Foundation/KvExport.h"
#include "Foundation/KvReport.h"
#include "resources/KvResourcePlugin.h"

namespace
{
[[noreturn]] void Start()
{
    KvFatalReport({"module\\KvTestFailingModule", "KvTestFailingModule::Start", 1}, "Cannot start");
}

class KvTestFailingPlugin : public KvResourcePlugin
{
public:
    void InitializeReferences(const tInitContext&) override { Start(); }
};
} // namespace

extern "C"
{
    KV_EXPORT KvResourcePlugin* KvCreateResourcePlugin()
    {
        return new KvTestFailingPlugin();
    }

    KV_EXPORT void KvDestroyResourcePlugin(KvResourcePlugin* pPlugin)
    {
        delete pPlugin;
    }

    KV_EXPORT void KvRegisterGameTypes()
    {
        Start();
    }
}
