#include "TypeManager/KvTypedObject.h"

#include "Foundation/KvReport.h"
#include "IO/KvArchive.h"
#include "TypeManager/KvTypeManager.h"

namespace
{
constexpr int32_t kCurrentVersion = 1;
}

KvTypeInfo* KvTypedObject::GetType()
{
    return KvTypeManager::GetInstance()->FindType(kClassName);
}

void KvTypedObject::Serialize(KvArchive& archive)
{
    int32_t version = kCurrentVersion;
    archive.Serialize("Version", version);
    if (archive.IsLoading() && version >= 2)
        archive.Error(KvFormatMessage("Archive version (%i) is larger than current game version (%i)",
                                      version, kCurrentVersion)
                          .c_str());
}
