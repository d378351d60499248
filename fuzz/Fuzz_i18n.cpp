#include "KvFuzzImport.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

KV_FUZZ_IMPORTER(KvResourceImporter_i18n, "en_us")
