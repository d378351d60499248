#include "host/KvProjectReferences.h"

#include "host/KvProjectStore.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"
#include "store/KvJsonStore.h"
#include "store/KvJsonString.h"
#include "store/KvPlaceholderSet.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace fs = std::filesystem;
using Json = KvJsonStore::Json;

namespace
{
// Project files larger than this are not searched.
constexpr std::uintmax_t kMaxSearchedFile = 256ull * 1024 * 1024;

// The raw data files of a resource name: "<name>.<short name>.json" beside each other.
std::vector<fs::path> RawDataFilesOf(const std::string& projectFolder, const std::string& name)
{
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const fs::path base = fs::path(projectFolder) / relative;
    const std::string prefix = base.filename().string() + ".";
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator entry(base.parent_path(), error), end; !error && entry != end;
         entry.increment(error))
    {
        const std::string file = entry->path().filename().string();
        if (!file.starts_with(prefix) || !file.ends_with(".json"))
            continue;
        const std::string shortName = file.substr(prefix.size(), file.size() - prefix.size() - 5);
        if (!shortName.empty() && shortName.find('.') == std::string::npos)
            files.push_back(entry->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The GUID of an object of the type and name in a saved document, searched level by level (a
// document may nest deeper than the stack allows).
std::optional<KvGuid> FindGuidIn(const Json& document, const std::string& typeName, const std::string& name)
{
    std::deque<const Json*> pending = {&document};
    for (; !pending.empty(); pending.pop_front())
    {
        const Json& value = *pending.front();
        if (value.is_object() && value.value("$type", Json()) == typeName &&
            KvStringFromJson(value.value(KvReflectionInterface::kNameMember, Json())) == name)
        {
            const Json guid = value.value(KvReflectionInterface::kGuidMember, Json());
            if (const auto found =
                    guid.is_string() ? KvGuid::FromString(guid.get<std::string>()) : std::nullopt)
                return found;
        }
        if (value.is_structured())
            for (const Json& child : value)
                pending.push_back(&child);
    }
    return std::nullopt;
}

std::optional<KvGuid> FindSavedGuid(const std::string& projectFolder, const std::string& typeName,
                                    const std::string& name)
{
    if (!KvProjectStore::CheckResourceName(name))
        return std::nullopt;
    for (const fs::path& path : RawDataFilesOf(projectFolder, name))
    {
        std::error_code error;
        if (fs::file_size(path, error) > kMaxSearchedFile || error)
            continue;
        std::ifstream file(path, std::ios::binary);
        const Json document = Json::parse(file, nullptr, false);
        if (const auto guid = document.is_discarded() ? std::nullopt : FindGuidIn(document, typeName, name))
            return guid;
    }
    return std::nullopt;
}
} // namespace

namespace KvProjectReferences
{
std::set<const void*> Resolve(const std::string& projectFolder, const std::vector<KvTempXRef>& placeholders)
{
    std::set<const void*> unresolved;
    // Many placeholders of one import often name the same target.
    std::map<std::pair<std::string, std::string>, std::optional<KvGuid>> found;
    for (const auto& [pPlaceholder, pType] : placeholders)
    {
        const std::string* pName = KvReflectionInterface::GetObjectName(pType, pPlaceholder);
        std::optional<KvGuid> guid;
        if (pName)
        {
            const auto key = std::make_pair(pType->GetName(), *pName);
            auto known = found.find(key);
            if (known == found.end())
                known = found.emplace(key, FindSavedGuid(projectFolder, pType->GetName(), *pName)).first;
            guid = known->second;
        }
        if (!guid || !KvPlaceholderSet::SetGuid(pType, pPlaceholder, *guid))
            unresolved.insert(pPlaceholder);
    }
    return unresolved;
}
} // namespace KvProjectReferences
