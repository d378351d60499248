#include "KvFuzzImport.h"
#include "importers/KvResourceImporter_ADPCM.h"

KV_FUZZ_IMPORTER(KvResourceImporter_ADPCM, "audio\\\\beep")
