#pragma once

#include "KvResourceCommonExport.h"
#include "resources/KvResourceImporter.h"

#include <set>
#include <string>
#include <vector>

// Resolves an import's placeholders against the resources saved in a project folder. A
// placeholder names its target the way resources are named, so the target is looked for in the
// raw data files of the resource of that name ("<name>.<short name>.json"), as an object of
// the placeholder's type and name. A placeholder that finds its target takes the target's GUID,
// so that the reference to it is saved whole; names that would leave the folder are not followed.
namespace KvProjectReferences
{
// The placeholders left unresolved, whose references are saved by name only.
KV_RESOURCECOMMON_API std::set<const void*> Resolve(const std::string& projectFolder,
                                                    const std::vector<KvTempXRef>& placeholders);
} // namespace KvProjectReferences
