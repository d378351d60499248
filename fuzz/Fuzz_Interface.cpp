#include "KvFuzzImport.h"
#include "importers/KvResourceImporter_Interface.h"

KV_FUZZ_IMPORTER(KvResourceImporter_Interface, "ui\\\\menu")
