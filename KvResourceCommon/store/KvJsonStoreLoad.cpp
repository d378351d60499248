#include "store/KvJsonStore.h"

#include "Foundation/KvReport.h"
#include "reflection/KvMemberVisitor.h"
#include "reflection/KvObjectTree.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"
#include "store/KvBase64.h"
#include "store/KvBlobReference.h"
#include "store/KvBlobSource.h"
#include "store/KvJsonEnum.h"
#include "store/KvJsonFloat.h"
#include "store/KvJsonLoadSession.h"
#include "store/KvJsonPointer.h"
#include "store/KvJsonString.h"
#include "store/KvPlaceholderSet.h"

#include <limits>
#include <map>
#include <stdexcept>

using Json = KvJsonStore::Json;

namespace
{
// Loaded JSON quoted in a message; documents built in memory may hold any bytes.
std::string Quote(const Json& json)
{
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Thrown inside the loader only; Load turns it into a logged failure.
struct KvJsonLoadError : std::runtime_error
{
    KvJsonLoadError(const std::string& path, const std::string& what)
        : std::runtime_error(what), m_strPath(path)
    {
    }
    std::string m_strPath;
};

struct LoadedObject
{
    void* m_pObject;
    const KvReflectedDataType* m_pType;
};

struct PendingCrossReference
{
    void** m_ppSlot;
    const KvReflectedDataType* m_pType;
    std::string m_strName;
    std::optional<KvGuid> m_Guid;
    std::string m_strSource;
    std::string m_strPath;
};
} // namespace

struct KvJsonLoadSession::tPending
{
    std::vector<PendingCrossReference> m_aCrossReferences;
    std::vector<std::pair<const KvReflectedDataType*, void*>> m_aPostDeserialize;
};

namespace
{
// Loads one document; what must wait for the other documents of its session goes to the
// session's pending lists.
class Loader
{
public:
    Loader(const std::string& sourceName, KvJsonLoadSession::tPending& pending, const KvBlobSource* pBlobs)
        : m_strSource(sourceName), m_rPending(pending), m_pBlobs(pBlobs)
    {
    }

    // Fills an object that already sits in its final place, so that an error leaves a tree
    // that releasing the root frees completely.
    void LoadInto(const KvReflectedDataType* pType, void* pObject, const Json& json, const std::string& path)
    {
        if (!json.is_object())
            throw KvJsonLoadError(path, "expected an object of type '" + pType->GetName() + "'");
        CheckType(pType, json, path);
        for (const auto& [key, value] : json.items())
        {
            if (key.empty() || key[0] == '$')
                continue;
            const int32_t index = pType->FindMember(key.c_str());
            if (index < 0 || !KvJsonStore::IsSaved(*pType->GetMember(index)))
                KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: %s: '%s' has no member '%s'; ignored",
                            m_strSource.c_str(), path.c_str(), pType->GetName().c_str(), key.c_str());
        }
        // Dynamic pointers last: they need the type their sibling member holds.
        for (int pass = 0; pass < 2; ++pass)
        {
            for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
            {
                const KvReflectedPrimitive& member = *pType->GetMember(index);
                const bool bDynamic = member.GetKind() == PRIMITIVE_DYNAMIC_POINTER;
                const auto value = json.find(member.GetName());
                if (bDynamic != (pass == 1) || !KvJsonStore::IsSaved(member) || value == json.end())
                    continue;
                KvVisitMember(member, *this, pType, pObject, *value,
                              KvJsonPointerChild(path, member.GetName()));
            }
        }
        if (KvObjectTree::ReconcilesConstructedChildren(pType))
            m_rPending.m_aPostDeserialize.emplace_back(pType, pObject);
    }

    // Member callbacks: the member of the owner type, the owner, the member's JSON and path.
    void Value(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
               const Json& json, const std::string& path)
    {
        LoadValue(member.GetValueType(), member.GetAddress(pObject), json, path);
    }
    void Enum(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject, const Json& json,
              const std::string& path)
    {
        *static_cast<uint32_t*>(member.GetAddress(pObject)) = LoadEnum(member, json, path);
    }
    void Record(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                const Json& json, const std::string& path)
    {
        LoadInto(member.GetElementType(), member.GetAddress(pObject), json, path);
    }
    void ValueArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                    const Json& json, const std::string& path)
    {
        if (member.GetValueType() == VALUE_U8)
        {
            LoadBytes(*static_cast<std::vector<uint8_t>*>(member.GetAddress(pObject)), json, path);
            return;
        }
        LoadElements(member, pObject, json, path,
                     [&](void* pElement, const Json& item, const std::string& itemPath)
                     { LoadValue(member.GetValueType(), pElement, item, itemPath); });
    }
    void RecordArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                     const Json& json, const std::string& path)
    {
        LoadElements(member, pObject, json, path,
                     [&](void* pElement, const Json& item, const std::string& itemPath)
                     { LoadInto(member.GetElementType(), pElement, item, itemPath); });
    }
    void OwnedPointer(const KvReflectedPrimitive& member, const KvReflectedDataType* pType, void* pObject,
                      const Json& json, const std::string& path)
    {
        void** ppSlot = static_cast<void**>(member.GetAddress(pObject));
        // An object the owner's constructor made is filled where it is, so that what the
        // owner keeps unsaved (an editor pawn's transform link) still points at it.
        const bool bFillsConstructed = *ppSlot && json.is_object() && !json.contains("$ref");
        if (!bFillsConstructed)
            ReplaceOwned(pType, member.GetPointeeType(), ppSlot);
        if (!json.is_null())
            LoadOwned(member.GetPointeeType(), ppSlot, json, path);
    }
    void OwnedPointerArray(const KvReflectedPrimitive& member, const KvReflectedDataType* pType,
                           void* pObject, const Json& json, const std::string& path)
    {
        RequireArray(json, path);
        if (!KvObjectTree::ReconcilesConstructedChildren(pType))
            KvForEachElement(
                member, pObject,
                [&](void* pElement, size_t)
                { KvObjectTree::Destroy(member.GetPointeeType(), *static_cast<void**>(pElement)); });
        LoadElements(member, pObject, json, path,
                     [&](void* pElement, const Json& item, const std::string& itemPath)
                     {
                         if (!item.is_null())
                             LoadOwned(member.GetPointeeType(), static_cast<void**>(pElement), item,
                                       itemPath);
                     });
    }
    // Only cross-references reach here: parent links are not saved.
    void Reference(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                   const Json& json, const std::string& path)
    {
        LoadCrossReference(member.GetPointeeType(), static_cast<void**>(member.GetAddress(pObject)), json,
                           path);
    }
    void ReferenceArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                        const Json& json, const std::string& path)
    {
        LoadElements(
            member, pObject, json, path,
            [&](void* pElement, const Json& item, const std::string& itemPath)
            { LoadCrossReference(member.GetPointeeType(), static_cast<void**>(pElement), item, itemPath); });
    }
    void TypeRecord(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                    const Json& json, const std::string& path)
    {
        *static_cast<const KvReflectedDataType**>(member.GetAddress(pObject)) =
            json.is_null() ? nullptr : FindAcceptedType(member, json, path);
    }
    void DynamicPointer(const KvReflectedPrimitive& member, const KvReflectedDataType* pType, void* pObject,
                        const Json& json, const std::string& path)
    {
        void** ppSlot = static_cast<void**>(member.GetAddress(pObject));
        const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pObject, &member);
        if (!json.is_null() && !pChildType)
            throw KvJsonLoadError(path, "no type is named in '" + member.GetDynamicTypeMember() + "'");
        ReplaceOwned(pType, pChildType, ppSlot);
        if (!json.is_null())
            LoadOwned(pChildType, ppSlot, json, path);
    }

private:
    void LoadBytes(std::vector<uint8_t>& bytes, const Json& json, const std::string& path) const
    {
        if (!KvBlobReference::IsMarked(json))
        {
            auto decoded = json.is_string() ? KvDecodeBase64(json.get<std::string>()) : std::nullopt;
            if (!decoded)
                throw KvJsonLoadError(path, "expected a base64 string");
            bytes = std::move(*decoded);
            return;
        }
        const std::optional<KvBlobReference> reference = KvBlobReference::Parse(json);
        if (!reference)
            throw KvJsonLoadError(path, "expected a blob reference {\"$blob\": \"sha256:<64 lower-case hex "
                                        "digits>\", \"size\": <bytes>}, found " +
                                            Quote(json));
        if (!m_pBlobs)
            throw KvJsonLoadError(path, "a blob reference needs a project's blob store to load from");
        if (const KvResult read = m_pBlobs->Get(reference->m_strHash, reference->m_ullSize, bytes); !read)
            throw KvJsonLoadError(path, read.GetReason());
    }

    void CheckType(const KvReflectedDataType* pType, const Json& json, const std::string& path) const
    {
        const auto found = json.find("$type");
        if (found == json.end())
            return;
        if (!found->is_string() || found->get<std::string>() != pType->GetName())
            throw KvJsonLoadError(path, "expected type '" + pType->GetName() + "', found " + Quote(*found));
    }

    static void RequireArray(const Json& json, const std::string& path)
    {
        if (!json.is_array())
            throw KvJsonLoadError(path, "expected an array");
    }

    // Sized first and filled in place: new elements are empty (null pointers), so a failure
    // part-way leaves nothing that releasing the tree would miss.
    template <class LoadElement>
    static void LoadElements(const KvReflectedPrimitive& member, void* pObject, const Json& json,
                             const std::string& path, LoadElement&& load)
    {
        RequireArray(json, path);
        const KvReflectedArrayAccessor* pAccessor = member.GetArrayAccessor();
        void* pArray = member.GetAddress(pObject);
        pAccessor->Resize(pArray, 0);
        pAccessor->Resize(pArray, json.size());
        for (size_t element = 0; element < json.size(); ++element)
            load(pAccessor->GetElement(pArray, element), json[element],
                 KvJsonPointerChild(path, std::to_string(element)));
    }

    void LoadCrossReference(const KvReflectedDataType* pType, void** ppSlot, const Json& json,
                            const std::string& path)
    {
        *ppSlot = nullptr;
        if (!json.is_null())
            QueueCrossReference(pType, ppSlot, json, path);
    }

    // Empties an owned slot before the saved object replaces it, freeing what the owner's
    // constructor placed there unless the owner reconciles that itself after the load.
    static void ReplaceOwned(const KvReflectedDataType* pOwnerType, const KvReflectedDataType* pType,
                             void** ppSlot)
    {
        if (*ppSlot && pType && !KvObjectTree::ReconcilesConstructedChildren(pOwnerType))
            KvObjectTree::Destroy(pType, *ppSlot);
        *ppSlot = nullptr;
    }

    // Loads into an empty slot, or into the object the slot already holds.
    void LoadOwned(const KvReflectedDataType* pType, void** ppSlot, const Json& json, const std::string& path)
    {
        if (json.is_object() && json.contains("$ref"))
        {
            *ppSlot = FindEarlierObject(pType, json["$ref"], path);
            return;
        }
        if (!json.is_object())
            throw KvJsonLoadError(path, "expected an object of type '" + pType->GetName() + "' or null");
        if (!*ppSlot && !pType->GetObjectConstructor())
            throw KvJsonLoadError(path, "type '" + pType->GetName() +
                                            "' is only declared by name and cannot be created");
        if (!*ppSlot)
            *ppSlot = pType->GetObjectConstructor()->Create();
        m_Loaded.emplace(path, LoadedObject{*ppSlot, pType});
        LoadInto(pType, *ppSlot, json, path);
    }

    // The object a {"$ref"} points at: loaded before, and of the slot's type, since the
    // owner uses it as one.
    void* FindEarlierObject(const KvReflectedDataType* pType, const Json& reference,
                            const std::string& path) const
    {
        const auto found =
            reference.is_string() ? m_Loaded.find(reference.get<std::string>()) : m_Loaded.end();
        if (found == m_Loaded.end())
            throw KvJsonLoadError(path, "refers to " + Quote(reference) + ", which is not an earlier object");
        if (found->second.m_pType != pType)
            throw KvJsonLoadError(path, "refers to " + Quote(reference) + ", an object of type '" +
                                            found->second.m_pType->GetName() + "', not '" + pType->GetName() +
                                            "'");
        return found->second.m_pObject;
    }

    void QueueCrossReference(const KvReflectedDataType* pType, void** ppSlot, const Json& json,
                             const std::string& path)
    {
        if (!json.is_object() || !json.contains("$xref"))
            throw KvJsonLoadError(path, "expected a cross-reference {\"$xref\": ...} or null");
        if (json["$xref"] != pType->GetName())
            throw KvJsonLoadError(path, "expected a reference to '" + pType->GetName() + "', found " +
                                            Quote(json["$xref"]));
        PendingCrossReference pending{ppSlot, pType, "", std::nullopt, m_strSource, path};
        if (json.contains("name"))
            pending.m_strName = LoadString(json["name"], path + "/name");
        if (json.contains("guid"))
        {
            pending.m_Guid =
                json["guid"].is_string() ? KvGuid::FromString(json["guid"].get<std::string>()) : std::nullopt;
            if (!pending.m_Guid)
                throw KvJsonLoadError(path + "/guid", "expected a GUID");
        }
        m_rPending.m_aCrossReferences.push_back(pending);
    }

    // The registered type a type-record member names, when the member may hold it.
    static const KvReflectedDataType* FindAcceptedType(const KvReflectedPrimitive& member, const Json& json,
                                                       const std::string& path)
    {
        const KvReflectedDataType* pType =
            json.is_string() ? KvReflectionInterface::GetInstance()->FindType(json.get<std::string>().c_str())
                             : nullptr;
        if (!pType)
            throw KvJsonLoadError(path, "expected the name of a registered type, found " + Quote(json));
        if (!member.AcceptsType(pType))
            throw KvJsonLoadError(path, "'" + pType->GetName() + "' is not '" + member.GetBaseClassName() +
                                            "' or a class derived from it");
        return pType;
    }

    static uint32_t LoadEnum(const KvReflectedPrimitive& member, const Json& json, const std::string& path)
    {
        if (const std::optional<uint32_t> value = KvEnumFromJson(member.GetEnumConverter(), json))
            return *value;
        if (json.is_string() && member.GetEnumConverter())
            throw KvJsonLoadError(path, "'" + json.get<std::string>() +
                                            "' is not a value name of this enumeration");
        throw KvJsonLoadError(path, "expected an enumeration value name or number");
    }

    static std::string LoadString(const Json& json, const std::string& path)
    {
        std::optional<std::string> bytes = KvStringFromJson(json);
        if (!bytes)
            throw KvJsonLoadError(path,
                                  "expected a string, or {\"$latin1\": ...} with code points up to U+00FF");
        return std::move(*bytes);
    }

    template <class T>
    static T LoadInteger(const Json& json, const std::string& path, const char* what)
    {
        if (!json.is_number_integer())
            throw KvJsonLoadError(path, std::string("expected ") + what);
        if (json.is_number_unsigned() ? json.get<uint64_t>() > uint64_t(std::numeric_limits<T>::max())
                                      : json.get<int64_t>() < int64_t(std::numeric_limits<T>::min()) ||
                                            json.get<int64_t>() > int64_t(std::numeric_limits<T>::max()))
            throw KvJsonLoadError(path, std::string("expected ") + what + ", found " + Quote(json));
        return json.get<T>();
    }

    static float LoadFloat(const Json& json, const std::string& path)
    {
        if (const std::optional<float> value = KvFloatFromJson(json))
            return *value;
        throw KvJsonLoadError(path, "expected a 32-bit float (a number of at most 3.4028235e38 or "
                                    "{\"$f32\": \"0x<8 hex digits>\"}), found " +
                                        Quote(json));
    }

    static void LoadFloats(float* pValues, size_t count, const Json& json, const std::string& path)
    {
        if (!json.is_array() || json.size() != count)
            throw KvJsonLoadError(path, "expected an array of " + std::to_string(count) + " numbers");
        for (size_t index = 0; index < count; ++index)
            pValues[index] = LoadFloat(json[index], KvJsonPointerChild(path, std::to_string(index)));
    }

    static void LoadValue(eReflectedValueType valueType, void* pValue, const Json& json,
                          const std::string& path)
    {
        switch (valueType)
        {
        case VALUE_BOOL:
            if (!json.is_boolean())
                throw KvJsonLoadError(path, "expected true or false");
            *static_cast<bool*>(pValue) = json.get<bool>();
            break;
        case VALUE_U8:
            *static_cast<uint8_t*>(pValue) = LoadInteger<uint8_t>(json, path, "an integer from 0 to 255");
            break;
        case VALUE_U32:
            *static_cast<uint32_t*>(pValue) = LoadInteger<uint32_t>(json, path, "an unsigned 32-bit integer");
            break;
        case VALUE_S32:
            *static_cast<int32_t*>(pValue) = LoadInteger<int32_t>(json, path, "a signed 32-bit integer");
            break;
        case VALUE_F32:
            *static_cast<float*>(pValue) = LoadFloat(json, path);
            break;
        case VALUE_STRING:
            *static_cast<std::string*>(pValue) = LoadString(json, path);
            break;
        case VALUE_GUID:
        {
            const auto guid = json.is_string() ? KvGuid::FromString(json.get<std::string>()) : std::nullopt;
            if (!guid)
                throw KvJsonLoadError(path, "expected a GUID \"xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx\"");
            *static_cast<KvGuid*>(pValue) = *guid;
            break;
        }
        case VALUE_VECTOR2:
            LoadFloats(static_cast<float*>(pValue), 2, json, path);
            break;
        case VALUE_VECTOR3:
            LoadFloats(static_cast<float*>(pValue), 3, json, path);
            break;
        case VALUE_VECTOR4:
        case VALUE_QUATERNION:
            LoadFloats(static_cast<float*>(pValue), 4, json, path);
            break;
        case VALUE_COLOR:
        {
            if (!json.is_array() || json.size() != 4)
                throw KvJsonLoadError(path, "expected [r, g, b, a]");
            auto* pColor = static_cast<KvColor*>(pValue);
            uint8_t* channels[4] = {&pColor->r, &pColor->g, &pColor->b, &pColor->a};
            for (size_t index = 0; index < 4; ++index)
                *channels[index] = LoadInteger<uint8_t>(
                    json[index], KvJsonPointerChild(path, std::to_string(index)), "an integer from 0 to 255");
            break;
        }
        case VALUE_HANDLE:
            // Handles are run-time values: whatever was saved, the loaded object starts without.
            *static_cast<void**>(pValue) = nullptr;
            break;
        default:
            break;
        }
    }

    std::string m_strSource;
    std::map<std::string, LoadedObject> m_Loaded;
    KvJsonLoadSession::tPending& m_rPending;
    const KvBlobSource* m_pBlobs;
};
} // namespace

KvJsonLoadSession::KvJsonLoadSession(KvPlaceholderSet* pPlaceholders, const KvBlobSource* pBlobs)
    : m_pPending(std::make_unique<tPending>()), m_pPlaceholders(pPlaceholders), m_pBlobs(pBlobs)
{
}

KvJsonLoadSession::~KvJsonLoadSession() = default;

void* KvJsonLoadSession::Load(const KvReflectedDataType* pType, const Json& document,
                              const std::string& sourceName)
{
    const KvReflectedObjectConstructor* pConstructor = pType->GetObjectConstructor();
    if (!pConstructor)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: type '%s' cannot be created", sourceName.c_str(),
                    pType->GetName().c_str());
        return nullptr;
    }
    void* pObject = pConstructor->Create();
    // A refused document leaves nothing pending: its slots are released with it.
    const size_t references = m_pPending->m_aCrossReferences.size();
    const size_t postDeserialize = m_pPending->m_aPostDeserialize.size();
    Loader loader(sourceName, *m_pPending, m_pBlobs);
    try
    {
        loader.LoadInto(pType, pObject, document, "");
    }
    catch (const KvJsonLoadError& error)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: %s: %s", sourceName.c_str(),
                    error.m_strPath.empty() ? "/" : error.m_strPath.c_str(), error.what());
        m_pPending->m_aCrossReferences.resize(references);
        m_pPending->m_aPostDeserialize.resize(postDeserialize);
        KvObjectTree::Destroy(pType, pObject);
        return nullptr;
    }
    return pObject;
}

void KvJsonLoadSession::Finish()
{
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    for (const PendingCrossReference& pending : m_pPending->m_aCrossReferences)
    {
        void* pTarget =
            pending.m_Guid ? pRegistry->FindLiveObjectByGuid(pending.m_pType, *pending.m_Guid) : nullptr;
        if (!pTarget)
            pTarget = pRegistry->FindLiveObjectByName(pending.m_pType, pending.m_strName.c_str());
        const bool bIdentified = !pending.m_strName.empty() || pending.m_Guid;
        if (!pTarget && m_pPlaceholders && bIdentified)
            pTarget = m_pPlaceholders->Get(pending.m_pType, pending.m_strName, pending.m_Guid);
        if (!pTarget)
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                        "%s: %s: no '%s' named '%s' is loaded; the reference is left empty",
                        pending.m_strSource.c_str(), pending.m_strPath.c_str(),
                        pending.m_pType->GetName().c_str(), pending.m_strName.c_str());
        *pending.m_ppSlot = pTarget;
    }
    const std::vector<std::pair<const KvReflectedDataType*, void*>> postDeserialize =
        std::move(m_pPending->m_aPostDeserialize);
    *m_pPending = {};
    for (const auto& [pType, pObject] : postDeserialize)
        pType->GetObjectConstructor()->PostDeserialize(pObject);
}

void* KvJsonStore::Load(const KvReflectedDataType* pType, const Json& document, const std::string& sourceName,
                        KvPlaceholderSet* pPlaceholders, const KvBlobSource* pBlobs)
{
    KvJsonLoadSession session(pPlaceholders, pBlobs);
    void* pObject = session.Load(pType, document, sourceName);
    session.Finish();
    return pObject;
}
