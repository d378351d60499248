#include "store/KvJsonStore.h"

#include "Foundation/KvReport.h"
#include "reflection/KvReflectedPrimitive.h"
#include "store/KvJsonDocumentWriter.h"
#include "store/KvJsonLoadSession.h"
#include "store/KvJsonTextWriter.h"

#include <fstream>

using Json = KvJsonStore::Json;

namespace
{
// Largest JSON file read into memory.
constexpr std::uintmax_t kMaxFileSize = 1024ull * 1024 * 1024;
} // namespace

bool KvJsonStore::IsSaved(const KvReflectedPrimitive& member)
{
    if (member.HasAttribute(ATTRIBUTE_NO_SERIALIZE))
        return false;
    const bool bPointer =
        member.GetKind() == PRIMITIVE_POINTER || member.GetKind() == PRIMITIVE_ARRAY_POINTER;
    return !bPointer || !member.HasAttribute(ATTRIBUTE_MEMBER_DATA_NOT_OWNED);
}

Json KvJsonStore::Save(const KvReflectedDataType* pType, const void* pObject,
                       const std::set<const void*>& nameOnlyTargets)
{
    KvJsonDocumentWriter writer;
    Save(writer, pType, pObject, nameOnlyTargets);
    return writer.TakeDocument();
}

bool KvJsonStore::SaveText(std::ostream& out, const KvReflectedDataType* pType, const void* pObject,
                           const std::set<const void*>& nameOnlyTargets, KvBlobSink* pBlobs)
{
    KvJsonTextWriter writer(out, kFileIndent);
    Save(writer, pType, pObject, nameOnlyTargets, pBlobs);
    writer.Raw("\n");
    return writer.Flush();
}

bool KvJsonStore::SaveFile(const std::string& path, const KvReflectedDataType* pType, const void* pObject,
                           const std::set<const void*>& nameOnlyTargets)
{
    std::ofstream file(path, std::ios::binary);
    if (!file || !SaveText(file, pType, pObject, nameOnlyTargets))
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: cannot be written", path.c_str());
        return false;
    }
    return true;
}

void* KvJsonStore::LoadFile(const std::string& path, const KvReflectedDataType* pType,
                            KvPlaceholderSet* pPlaceholders, const KvBlobSource* pBlobs)
{
    KvJsonLoadSession session(pPlaceholders, pBlobs);
    void* pObject = session.LoadFile(path, pType);
    session.Finish();
    return pObject;
}

void* KvJsonLoadSession::LoadFile(const std::string& path, const KvReflectedDataType* pType)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: cannot be opened", path.c_str());
        return nullptr;
    }
    if (static_cast<std::uintmax_t>(file.tellg()) > kMaxFileSize)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: larger than 1 GiB", path.c_str());
        return nullptr;
    }
    file.seekg(0);
    const Json document = Json::parse(file, nullptr, false);
    if (document.is_discarded())
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: is not valid JSON", path.c_str());
        return nullptr;
    }
    return Load(pType, document, path);
}
