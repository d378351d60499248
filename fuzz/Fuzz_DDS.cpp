#include "KvFuzzImport.h"
#include "importers/KvResourceImporter_DDS.h"

KV_FUZZ_IMPORTER(KvResourceImporter_DDS, "textures\\\\wall")
