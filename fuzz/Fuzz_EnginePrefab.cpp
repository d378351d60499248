#include "KvFuzzImport.h"
#include "host/KvResourceHost.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

// The game types loaded, as in the tool, so that shapes get their components and codes.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static KvResourceHost* const s_pHost = new KvResourceHost();
    if (const KvResult loaded = s_pHost->LoadGameModule(KV_GAME_TYPES_PATH); !loaded)
    {
        std::fprintf(stderr, "%s\n", loaded.GetReason().c_str());
        std::abort();
    }
    return 0;
}

KV_FUZZ_IMPORTER(KvResourceImporter_EnginePrefab, "prefabs\\\\camp")
