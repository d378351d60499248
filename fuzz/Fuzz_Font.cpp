#include "KvFuzzImport.h"
#include "importers/KvResourceImporter_Font.h"

KV_FUZZ_IMPORTER(KvResourceImporter_Font, "fonts\\\\debug")
