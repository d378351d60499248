#include "KvFuzzImport.h"
#include "importers/KvResourceImporter_ShaderBin.h"

KV_FUZZ_IMPORTER(KvResourceImporter_ShaderBin, "shaders\\\\lit")
