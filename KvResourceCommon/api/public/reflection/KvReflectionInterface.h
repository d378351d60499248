#pragma once

#include "Foundation/KvAutoSingleton_ProcessShared.h"
#include "Foundation/KvGuid.h"
#include "KvResourceCommonExport.h"
#include "reflection/KvLiveObjectList.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class KvReflectedDataType;
class KvReflectedPrimitive;
class KvReflectionInterface;

KV_DECLARE_SHARED_TYPE(KvReflectionInterface, "KvReflectionInterface", "instance",
                       "class KvReflectionInterface");

// Told about edits the host makes to reflected objects.
class KvReflectionChangeListener
{
public:
    virtual ~KvReflectionChangeListener() = default;
    virtual void OnObjectChanged(const KvReflectedDataType* pType, void* pObject,
                                 const KvReflectedPrimitive* pMember) = 0;
};

// The process-wide reflection registry: every type record, the live objects that can be
// cross-referenced, and the schema-driven operations on object trees.
class KV_RESOURCECOMMON_API KvReflectionInterface
    : public KvAutoSingleton_ProcessShared<KvReflectionInterface>
{
public:
    // Member names that identify a cross-referenced object.
    static constexpr const char* kNameMember = "m_strName";
    static constexpr const char* kGuidMember = "m_XRefGUID";

    // The identity name (kNameMember) of an object, or null when its type has no such string.
    static const std::string* GetObjectName(const KvReflectedDataType* pType, const void* pObject);

    KvReflectionInterface();
    virtual ~KvReflectionInterface();

    // Keeps a record (sealed or a forward declaration); the registry owns it from then on.
    // Registering a record again does nothing; another record under a taken name is refused
    // with a logged error and destroyed.
    virtual void RegisterType(KvReflectedDataType* pType);
    virtual KvReflectedDataType* FindType(const char* name) const;
    // Every registered record, in registration order.
    virtual std::vector<KvReflectedDataType*> GetTypes() const;
    // The record that pointer members to type records ("m_pDataType") point at.
    virtual const KvReflectedDataType* GetTypeRecordType() const;

    // A new object of a named type, or null (logged) when the type is unknown or cannot be made.
    virtual void* CreateObject(const char* typeName) const;

    // Live objects can be found by name and GUID; listing keeps registration order.
    virtual void RegisterLiveObject(const KvReflectedDataType* pType, void* pObject);
    virtual void UnregisterLiveObject(const KvReflectedDataType* pType, void* pObject);
    // The first live object of the type with the name, other than pExcept (a placeholder
    // looking for the real object of its name).
    virtual void* FindLiveObjectByName(const KvReflectedDataType* pType, const char* name,
                                       const void* pExcept = nullptr) const;
    virtual void* FindLiveObjectByGuid(const KvReflectedDataType* pType, const KvGuid& guid) const;
    virtual void GetLiveObjects(const KvReflectedDataType* pType, std::vector<void*>& outObjects) const;

    // A deep, independent copy the caller owns: owned children are copied, cross-references
    // and not-owned pointers are shared, except those to an owner inside the copy, which point
    // at the owner's copy.
    virtual void* CloneObject(const KvReflectedDataType* pType, const void* pObject) const;
    // Releases an object tree by its schema: every owned child once, then the object.
    virtual void DestroyObject(const KvReflectedDataType* pType, void* pObject) const;

    virtual void AddChangeListener(KvReflectionChangeListener* pListener);
    virtual void RemoveChangeListener(KvReflectionChangeListener* pListener);
    virtual void NotifyChanged(const KvReflectedDataType* pType, void* pObject,
                               const KvReflectedPrimitive* pMember);

private:
    std::vector<KvReflectedDataType*> m_apTypes;
    // Hashes a name's text without a copy of it: objects made by type name (component classes)
    // look their type up once each, and the names share long prefixes that an ordered map
    // compares again at every level.
    struct NameHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };
    std::unordered_map<std::string, KvReflectedDataType*, NameHash, std::equal_to<>> m_TypesByName;
    std::unique_ptr<KvReflectedDataType> m_pTypeRecordType;
    std::map<const KvReflectedDataType*, KvLiveObjectList> m_LiveObjects;
    std::vector<KvReflectionChangeListener*> m_apListeners;
};
