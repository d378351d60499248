#include "KvFuzzImport.h"
#include "importers/KvResourceImporter_InputTranslator.h"

KV_FUZZ_IMPORTER(KvResourceImporter_InputTranslator, "input\\\\controls")
