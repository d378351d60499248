#include "KvFuzzImport.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

KV_FUZZ_IMPORTER(KvResourceImporter_InputTranslator, "input\\\\controls")
