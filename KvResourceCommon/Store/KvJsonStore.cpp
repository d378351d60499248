#include "Store/KvJsonStore.h"

#include "Foundation/KvEnumConverter.h"
#include "Foundation/KvReport.h"
#include "Reflection/KvObjectTree.h"
#include "Reflection/KvReflectedDataType.h"
#include "Reflection/KvReflectionInterface.h"
#include "Store/KvBase64.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <stdexcept>

using Json = KvJsonStore::Json;

namespace
{
// Largest JSON file read into memory.
constexpr std::uintmax_t kMaxFileSize = 1024ull * 1024 * 1024;

// Appends one reference token to a JSON pointer (RFC 6901 escaping).
std::string ChildPath(const std::string& path, const std::string& token)
{
    std::string escaped;
    for (char c : token)
    {
        if (c == '~')
            escaped += "~0";
        else if (c == '/')
            escaped += "~1";
        else
            escaped += c;
    }
    return path + "/" + escaped;
}

bool IsSaved(const KvReflectedPrimitive* pMember)
{
    if (pMember->HasAttribute(ATTRIBUTE_NO_SERIALIZE))
        return false;
    const bool bPointer =
        pMember->GetKind() == PRIMITIVE_POINTER || pMember->GetKind() == PRIMITIVE_ARRAY_POINTER;
    return !bPointer || !pMember->HasAttribute(ATTRIBUTE_MEMBER_DATA_NOT_OWNED);
}

bool IsTypeRecordPointer(const KvReflectedPrimitive* pMember)
{
    return pMember->GetPointeeType() == KvReflectionInterface::GetInstance()->GetTypeRecordType();
}

Json FloatToJson(float value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    // The shortest text that reads back as this float, held as the double of that text, so
    // that the written number is short and exact.
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return std::strtod(std::string(text, result.ptr).c_str(), nullptr);
}

Json FloatsToJson(const float* pValues, size_t count)
{
    Json array = Json::array();
    for (size_t index = 0; index < count; ++index)
        array.push_back(FloatToJson(pValues[index]));
    return array;
}

// Thrown inside the loader only; Load turns it into a logged failure.
struct LoadError : std::runtime_error
{
    LoadError(const std::string& path, const std::string& what) : std::runtime_error(what), m_strPath(path) {}
    std::string m_strPath;
};

class Saver
{
public:
    explicit Saver(const std::set<const void*>& nameOnlyTargets) : m_NameOnlyTargets(nameOnlyTargets) {}

    Json SaveObject(const KvReflectedDataType* pType, const void* pObject, const std::string& path)
    {
        Json object = Json::object();
        object["$type"] = pType->GetName();
        SaveMembers(pType, pObject, path, object);
        return object;
    }

private:
    void SaveMembers(const KvReflectedDataType* pType, const void* pObject, const std::string& path,
                     Json& out)
    {
        for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
        {
            const KvReflectedPrimitive* pMember = pType->GetMember(index);
            if (IsSaved(pMember))
                out[pMember->GetName()] =
                    SaveMember(pType, pObject, pMember, ChildPath(path, pMember->GetName()));
        }
    }

    Json SaveMember(const KvReflectedDataType* pType, const void* pObject,
                    const KvReflectedPrimitive* pMember, const std::string& path)
    {
        const void* pAddress = pMember->GetAddress(pObject);
        const KvReflectedArrayAccessor* pAccessor = pMember->GetArrayAccessor();
        switch (pMember->GetKind())
        {
        case PRIMITIVE_VALUE:
            return SaveValue(pMember->GetValueType(), pAddress);
        case PRIMITIVE_ENUM:
            return SaveEnum(pMember, *static_cast<const uint32_t*>(pAddress));
        case PRIMITIVE_STRUCT:
            return SaveObject(pMember->GetElementType(), pAddress, path);
        case PRIMITIVE_ARRAY:
        case PRIMITIVE_ARRAY_STRUCT:
        case PRIMITIVE_ARRAY_POINTER:
        {
            void* pArray = const_cast<void*>(pAddress);
            if (pMember->GetValueType() == VALUE_U8)
                return KvEncodeBase64(*static_cast<const std::vector<uint8_t>*>(pAddress));
            Json array = Json::array();
            for (size_t element = 0; element < pAccessor->GetSize(pAddress); ++element)
            {
                const void* pElement = pAccessor->GetElement(pArray, element);
                const std::string elementPath = ChildPath(path, std::to_string(element));
                if (pMember->GetKind() == PRIMITIVE_ARRAY)
                    array.push_back(SaveValue(pMember->GetValueType(), pElement));
                else if (pMember->GetKind() == PRIMITIVE_ARRAY_STRUCT)
                    array.push_back(SaveObject(pMember->GetElementType(), pElement, elementPath));
                else
                    array.push_back(SavePointer(pMember, pMember->GetPointeeType(),
                                                *static_cast<void* const*>(pElement), elementPath));
            }
            return array;
        }
        case PRIMITIVE_POINTER:
            return SavePointer(pMember, pMember->GetPointeeType(), *static_cast<void* const*>(pAddress),
                               path);
        case PRIMITIVE_DYNAMIC_POINTER:
        {
            const void* pChild = *static_cast<void* const*>(pAddress);
            const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pObject, pMember);
            return pChild && pChildType ? SaveOwned(pChildType, pChild, path) : Json(nullptr);
        }
        default:
            return nullptr;
        }
    }

    Json SavePointer(const KvReflectedPrimitive* pMember, const KvReflectedDataType* pPointeeType,
                     const void* pTarget, const std::string& path)
    {
        if (!pTarget)
            return nullptr;
        if (IsTypeRecordPointer(pMember))
            return static_cast<const KvReflectedDataType*>(pTarget)->GetName();
        if (pMember->HasAttribute(ATTRIBUTE_XREF))
            return SaveCrossReference(pPointeeType, pTarget);
        return SaveOwned(pPointeeType, pTarget, path);
    }

    Json SaveOwned(const KvReflectedDataType* pType, const void* pObject, const std::string& path)
    {
        const auto written = m_WrittenAt.find(pObject);
        if (written != m_WrittenAt.end())
            return Json{{"$ref", written->second}};
        m_WrittenAt.emplace(pObject, path);
        return SaveObject(pType, pObject, path);
    }

    Json SaveCrossReference(const KvReflectedDataType* pType, const void* pTarget) const
    {
        Json reference = Json::object();
        reference["$xref"] = pType->GetName();
        const int32_t nameIndex = pType->FindMember(KvReflectionInterface::kNameMember);
        if (nameIndex >= 0)
            reference["name"] =
                *static_cast<const std::string*>(pType->GetMember(nameIndex)->GetAddress(pTarget));
        const int32_t guidIndex = pType->FindMember(KvReflectionInterface::kGuidMember);
        if (guidIndex >= 0 && !m_NameOnlyTargets.contains(pTarget))
            reference["guid"] =
                static_cast<const KvGuid*>(pType->GetMember(guidIndex)->GetAddress(pTarget))->ToString();
        return reference;
    }

    static Json SaveEnum(const KvReflectedPrimitive* pMember, uint32_t value)
    {
        const KvEnumConverterBase* pConverter = pMember->GetEnumConverter();
        const char* name = pConverter ? pConverter->ToString(value) : nullptr;
        return name ? Json(name) : Json(value);
    }

    static Json SaveValue(eReflectedValueType valueType, const void* pValue)
    {
        switch (valueType)
        {
        case VALUE_BOOL:
            return *static_cast<const bool*>(pValue);
        case VALUE_U8:
            return *static_cast<const uint8_t*>(pValue);
        case VALUE_U32:
            return *static_cast<const uint32_t*>(pValue);
        case VALUE_S32:
            return *static_cast<const int32_t*>(pValue);
        case VALUE_F32:
            return FloatToJson(*static_cast<const float*>(pValue));
        case VALUE_STRING:
            return *static_cast<const std::string*>(pValue);
        case VALUE_GUID:
            return static_cast<const KvGuid*>(pValue)->ToString();
        case VALUE_VECTOR2:
            return FloatsToJson(static_cast<const float*>(pValue), 2);
        case VALUE_VECTOR3:
            return FloatsToJson(static_cast<const float*>(pValue), 3);
        case VALUE_VECTOR4:
        case VALUE_QUATERNION:
            return FloatsToJson(static_cast<const float*>(pValue), 4);
        case VALUE_COLOR:
        {
            const auto* pColor = static_cast<const KvColor*>(pValue);
            return Json::array({pColor->r, pColor->g, pColor->b, pColor->a});
        }
        default:
            return nullptr;
        }
    }

    const std::set<const void*>& m_NameOnlyTargets;
    std::map<const void*, std::string> m_WrittenAt;
};

struct PendingCrossReference
{
    void** m_ppSlot;
    const KvReflectedDataType* m_pType;
    std::string m_strName;
    std::optional<KvGuid> m_Guid;
    std::string m_strPath;
};

class Loader
{
public:
    explicit Loader(const std::string& sourceName) : m_strSource(sourceName) {}

    // Fills an object that already sits in its final place, so that an error leaves a tree
    // that releasing the root frees completely.
    void LoadInto(const KvReflectedDataType* pType, void* pObject, const Json& json, const std::string& path)
    {
        if (!json.is_object())
            throw LoadError(path, "expected an object of type '" + pType->GetName() + "'");
        CheckType(pType, json, path);
        for (const auto& [key, value] : json.items())
        {
            if (key.empty() || key[0] == '$')
                continue;
            const int32_t index = pType->FindMember(key.c_str());
            if (index < 0 || !IsSaved(pType->GetMember(index)))
                KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: %s: '%s' has no member '%s'; ignored",
                            m_strSource.c_str(), path.c_str(), pType->GetName().c_str(), key.c_str());
        }
        // Dynamic pointers last: they need the type their sibling member holds.
        for (int pass = 0; pass < 2; ++pass)
        {
            for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
            {
                const KvReflectedPrimitive* pMember = pType->GetMember(index);
                const bool bDynamic = pMember->GetKind() == PRIMITIVE_DYNAMIC_POINTER;
                if (bDynamic != (pass == 1) || !IsSaved(pMember) || !json.contains(pMember->GetName()))
                    continue;
                LoadMember(pType, pObject, pMember, json[pMember->GetName()],
                           ChildPath(path, pMember->GetName()));
            }
        }
        if (pType->GetObjectConstructor() && pType->GetObjectConstructor()->HasPostDeserialize())
            m_aPostDeserialize.emplace_back(pType, pObject);
    }

    // Points cross-references at their targets, then lets loaded objects rebuild their state.
    void Finish()
    {
        KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
        for (const PendingCrossReference& pending : m_aCrossReferences)
        {
            void* pTarget =
                pending.m_Guid ? pRegistry->FindLiveObjectByGuid(pending.m_pType, *pending.m_Guid) : nullptr;
            if (!pTarget)
                pTarget = pRegistry->FindLiveObjectByName(pending.m_pType, pending.m_strName.c_str());
            if (!pTarget)
                KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                            "%s: %s: no '%s' named '%s' is loaded; the reference is left empty",
                            m_strSource.c_str(), pending.m_strPath.c_str(),
                            pending.m_pType->GetName().c_str(), pending.m_strName.c_str());
            *pending.m_ppSlot = pTarget;
        }
        for (const auto& [pType, pObject] : m_aPostDeserialize)
            pType->GetObjectConstructor()->PostDeserialize(pObject);
    }

private:
    void CheckType(const KvReflectedDataType* pType, const Json& json, const std::string& path) const
    {
        const auto found = json.find("$type");
        if (found == json.end())
            return;
        if (!found->is_string() || found->get<std::string>() != pType->GetName())
            throw LoadError(path, "expected type '" + pType->GetName() + "', found " + found->dump());
    }

    void LoadMember(const KvReflectedDataType* pType, void* pObject, const KvReflectedPrimitive* pMember,
                    const Json& json, const std::string& path)
    {
        void* pAddress = pMember->GetAddress(pObject);
        switch (pMember->GetKind())
        {
        case PRIMITIVE_VALUE:
            LoadValue(pMember->GetValueType(), pAddress, json, path);
            break;
        case PRIMITIVE_ENUM:
            *static_cast<uint32_t*>(pAddress) = LoadEnum(pMember, json, path);
            break;
        case PRIMITIVE_STRUCT:
            LoadInto(pMember->GetElementType(), pAddress, json, path);
            break;
        case PRIMITIVE_ARRAY:
        case PRIMITIVE_ARRAY_STRUCT:
        case PRIMITIVE_ARRAY_POINTER:
            LoadArray(pType, pMember, pAddress, json, path);
            break;
        case PRIMITIVE_POINTER:
            LoadPointer(pType, pMember, pMember->GetPointeeType(), static_cast<void**>(pAddress), json, path);
            break;
        case PRIMITIVE_DYNAMIC_POINTER:
        {
            void** ppSlot = static_cast<void**>(pAddress);
            const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pObject, pMember);
            if (!json.is_null() && !pChildType)
                throw LoadError(path, "no type is named in '" + pMember->GetDynamicTypeMember() + "'");
            ReplaceOwned(pType, pChildType, ppSlot);
            if (!json.is_null())
                LoadOwned(pChildType, ppSlot, json, path);
            break;
        }
        default:
            break;
        }
    }

    void LoadArray(const KvReflectedDataType* pOwnerType, const KvReflectedPrimitive* pMember, void* pArray,
                   const Json& json, const std::string& path)
    {
        const KvReflectedArrayAccessor* pAccessor = pMember->GetArrayAccessor();
        if (pMember->GetValueType() == VALUE_U8 && pMember->GetKind() == PRIMITIVE_ARRAY)
        {
            const auto bytes = json.is_string() ? KvDecodeBase64(json.get<std::string>()) : std::nullopt;
            if (!bytes)
                throw LoadError(path, "expected a base64 string");
            *static_cast<std::vector<uint8_t>*>(pArray) = *bytes;
            return;
        }
        if (!json.is_array())
            throw LoadError(path, "expected an array");
        if (pMember->GetKind() == PRIMITIVE_ARRAY_POINTER && pMember->IsOwningPointer() &&
            !KvObjectTree::ReconcilesConstructedChildren(pOwnerType))
            for (size_t element = 0; element < pAccessor->GetSize(pArray); ++element)
                KvObjectTree::Destroy(pMember->GetPointeeType(),
                                      *static_cast<void**>(pAccessor->GetElement(pArray, element)));
        // Sized first and filled in place: new elements are empty (null pointers), so a
        // failure part-way leaves nothing that releasing the tree would miss.
        pAccessor->Resize(pArray, 0);
        pAccessor->Resize(pArray, json.size());
        for (size_t element = 0; element < json.size(); ++element)
        {
            void* pElement = pAccessor->GetElement(pArray, element);
            const std::string elementPath = ChildPath(path, std::to_string(element));
            if (pMember->GetKind() == PRIMITIVE_ARRAY)
                LoadValue(pMember->GetValueType(), pElement, json[element], elementPath);
            else if (pMember->GetKind() == PRIMITIVE_ARRAY_STRUCT)
                LoadInto(pMember->GetElementType(), pElement, json[element], elementPath);
            else
                LoadPointer(pOwnerType, pMember, pMember->GetPointeeType(), static_cast<void**>(pElement),
                            json[element], elementPath);
        }
    }

    void LoadPointer(const KvReflectedDataType* pOwnerType, const KvReflectedPrimitive* pMember,
                     const KvReflectedDataType* pPointeeType, void** ppSlot, const Json& json,
                     const std::string& path)
    {
        if (IsTypeRecordPointer(pMember))
        {
            *ppSlot = json.is_null() ? nullptr : const_cast<KvReflectedDataType*>(FindTypeByName(json, path));
            return;
        }
        if (pMember->HasAttribute(ATTRIBUTE_XREF))
        {
            *ppSlot = nullptr;
            if (!json.is_null())
                QueueCrossReference(pPointeeType, ppSlot, json, path);
            return;
        }
        if (pMember->GetKind() == PRIMITIVE_POINTER)
            ReplaceOwned(pOwnerType, pPointeeType, ppSlot);
        if (!json.is_null())
            LoadOwned(pPointeeType, ppSlot, json, path);
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

    void LoadOwned(const KvReflectedDataType* pType, void** ppSlot, const Json& json, const std::string& path)
    {
        if (json.is_object() && json.contains("$ref"))
        {
            const auto found =
                json["$ref"].is_string() ? m_Loaded.find(json["$ref"].get<std::string>()) : m_Loaded.end();
            if (found == m_Loaded.end())
                throw LoadError(path,
                                "refers to " + json["$ref"].dump() + ", which is not an earlier object");
            *ppSlot = found->second;
            return;
        }
        if (!json.is_object())
            throw LoadError(path, "expected an object of type '" + pType->GetName() + "' or null");
        if (!pType->GetObjectConstructor())
            throw LoadError(path,
                            "type '" + pType->GetName() + "' is only declared by name and cannot be created");
        *ppSlot = pType->GetObjectConstructor()->Create();
        m_Loaded.emplace(path, *ppSlot);
        LoadInto(pType, *ppSlot, json, path);
    }

    void QueueCrossReference(const KvReflectedDataType* pType, void** ppSlot, const Json& json,
                             const std::string& path)
    {
        if (!json.is_object() || !json.contains("$xref"))
            throw LoadError(path, "expected a cross-reference {\"$xref\": ...} or null");
        if (json["$xref"] != pType->GetName())
            throw LoadError(path, "expected a reference to '" + pType->GetName() + "', found " +
                                      json["$xref"].dump());
        PendingCrossReference pending{ppSlot, pType, json.value("name", std::string()), std::nullopt, path};
        if (json.contains("guid"))
        {
            pending.m_Guid =
                json["guid"].is_string() ? KvGuid::FromString(json["guid"].get<std::string>()) : std::nullopt;
            if (!pending.m_Guid)
                throw LoadError(path + "/guid", "expected a GUID");
        }
        m_aCrossReferences.push_back(pending);
    }

    static const KvReflectedDataType* FindTypeByName(const Json& json, const std::string& path)
    {
        const KvReflectedDataType* pType =
            json.is_string() ? KvReflectionInterface::GetInstance()->FindType(json.get<std::string>().c_str())
                             : nullptr;
        if (!pType)
            throw LoadError(path, "expected the name of a registered type, found " + json.dump());
        return pType;
    }

    static uint32_t LoadEnum(const KvReflectedPrimitive* pMember, const Json& json, const std::string& path)
    {
        const KvEnumConverterBase* pConverter = pMember->GetEnumConverter();
        if (json.is_number_unsigned() && json.get<uint64_t>() <= std::numeric_limits<uint32_t>::max())
            return json.get<uint32_t>();
        if (json.is_string() && pConverter)
        {
            const std::string name = json.get<std::string>();
            for (uint32_t value = 0; value <= pConverter->GetCount(); ++value)
            {
                const char* candidate = pConverter->ToString(value);
                if (candidate && name == candidate)
                    return value;
            }
            throw LoadError(path, "'" + name + "' is not a value name of this enumeration");
        }
        throw LoadError(path, "expected an enumeration value name or number");
    }

    template <class T>
    static T LoadInteger(const Json& json, const std::string& path, const char* what)
    {
        if (!json.is_number_integer())
            throw LoadError(path, std::string("expected ") + what);
        if (json.is_number_unsigned() ? json.get<uint64_t>() > uint64_t(std::numeric_limits<T>::max())
                                      : json.get<int64_t>() < int64_t(std::numeric_limits<T>::min()) ||
                                            json.get<int64_t>() > int64_t(std::numeric_limits<T>::max()))
            throw LoadError(path, std::string("expected ") + what + ", found " + json.dump());
        return json.get<T>();
    }

    static float LoadFloat(const Json& json, const std::string& path)
    {
        if (json.is_number())
            return json.get<float>();
        if (json == "NaN")
            return std::numeric_limits<float>::quiet_NaN();
        if (json == "Infinity")
            return std::numeric_limits<float>::infinity();
        if (json == "-Infinity")
            return -std::numeric_limits<float>::infinity();
        throw LoadError(path, "expected a number");
    }

    static void LoadFloats(float* pValues, size_t count, const Json& json, const std::string& path)
    {
        if (!json.is_array() || json.size() != count)
            throw LoadError(path, "expected an array of " + std::to_string(count) + " numbers");
        for (size_t index = 0; index < count; ++index)
            pValues[index] = LoadFloat(json[index], ChildPath(path, std::to_string(index)));
    }

    static void LoadValue(eReflectedValueType valueType, void* pValue, const Json& json,
                          const std::string& path)
    {
        switch (valueType)
        {
        case VALUE_BOOL:
            if (!json.is_boolean())
                throw LoadError(path, "expected true or false");
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
            if (!json.is_string())
                throw LoadError(path, "expected a string");
            *static_cast<std::string*>(pValue) = json.get<std::string>();
            break;
        case VALUE_GUID:
        {
            const auto guid = json.is_string() ? KvGuid::FromString(json.get<std::string>()) : std::nullopt;
            if (!guid)
                throw LoadError(path, "expected a GUID \"xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx\"");
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
                throw LoadError(path, "expected [r, g, b, a]");
            auto* pColor = static_cast<KvColor*>(pValue);
            uint8_t* channels[4] = {&pColor->r, &pColor->g, &pColor->b, &pColor->a};
            for (size_t index = 0; index < 4; ++index)
                *channels[index] = LoadInteger<uint8_t>(json[index], ChildPath(path, std::to_string(index)),
                                                        "an integer from 0 to 255");
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
    std::map<std::string, void*> m_Loaded;
    std::vector<PendingCrossReference> m_aCrossReferences;
    std::vector<std::pair<const KvReflectedDataType*, void*>> m_aPostDeserialize;
};
} // namespace

Json KvJsonStore::Save(const KvReflectedDataType* pType, const void* pObject,
                       const std::set<const void*>& nameOnlyTargets)
{
    return Saver(nameOnlyTargets).SaveObject(pType, pObject, "");
}

void* KvJsonStore::Load(const KvReflectedDataType* pType, const Json& document, const std::string& sourceName)
{
    const KvReflectedObjectConstructor* pConstructor = pType->GetObjectConstructor();
    if (!pConstructor)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: type '%s' cannot be created", sourceName.c_str(),
                    pType->GetName().c_str());
        return nullptr;
    }
    void* pObject = pConstructor->Create();
    Loader loader(sourceName);
    try
    {
        loader.LoadInto(pType, pObject, document, "");
    }
    catch (const LoadError& error)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: %s: %s", sourceName.c_str(),
                    error.m_strPath.empty() ? "/" : error.m_strPath.c_str(), error.what());
        KvObjectTree::Destroy(pType, pObject);
        return nullptr;
    }
    loader.Finish();
    return pObject;
}

bool KvJsonStore::SaveFile(const std::string& path, const KvReflectedDataType* pType, const void* pObject,
                           const std::set<const void*>& nameOnlyTargets)
{
    std::ofstream file(path, std::ios::binary);
    file << Save(pType, pObject, nameOnlyTargets).dump(2) << '\n';
    if (!file)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "%s: cannot be written", path.c_str());
        return false;
    }
    return true;
}

void* KvJsonStore::LoadFile(const std::string& path, const KvReflectedDataType* pType)
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
