#include "KvFuzzImport.h"
#include "importers/KvResourceImporter_i18n.h"

KV_FUZZ_IMPORTER(KvResourceImporter_i18n, "en_us")
