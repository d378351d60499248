#pragma once

#include "Foundation/KvGuid.h"
#include "KvResourceCommonExport.h"
#include "resources/KvResourceImporter.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// Objects that stand for cross-reference targets that are not loaded, as the placeholders of an
// import do: each of its target's type, carrying the target's name and, where one is known, its
// GUID. They are no live objects, so no lookup takes one for a real object. The set owns them.
class KV_RESOURCECOMMON_API KvPlaceholderSet
{
public:
    KvPlaceholderSet() = default;
    ~KvPlaceholderSet();
    KvPlaceholderSet(const KvPlaceholderSet&) = delete;
    KvPlaceholderSet& operator=(const KvPlaceholderSet&) = delete;

    // The placeholder of that identity, made on first request; null for a type the host cannot
    // create.
    void* Get(const KvReflectedDataType* pType, const std::string& name, const std::optional<KvGuid>& guid);
    // In the order they were made.
    const std::vector<KvTempXRef>& GetObjects() const { return m_aObjects; }
    // Those made without a GUID, whose references are saved by name only.
    const std::set<const void*>& GetNameOnlyTargets() const { return m_NameOnly; }

    // Gives a placeholder (or any cross-referenced object) the GUID of the object it stands
    // for; false when its type holds no GUID.
    static bool SetGuid(const KvReflectedDataType* pType, void* pObject, const KvGuid& guid);

private:
    std::vector<KvTempXRef> m_aObjects;
    std::set<const void*> m_NameOnly;
    // Type, name and GUID text (empty without one).
    std::map<std::tuple<const KvReflectedDataType*, std::string, std::string>, void*> m_ByIdentity;
};
