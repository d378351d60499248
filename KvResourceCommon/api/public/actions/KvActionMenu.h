#pragma once

#include "Foundation/KvSmartPtr.h"
#include "KvResourceCommonExport.h"
#include "actions/KvNativeAction.h"

#include <string>
#include <vector>

class KvAttribute_NativeAction;
class KvReflectedDataType;
class KvResource;

// An object of a resource's raw data, named by its place in the resource's saved file.
struct KvResourceObject
{
    // A JSON pointer into the saved file; empty for the root.
    std::string m_strPointer;
    const KvReflectedDataType* m_pType = nullptr;
    void* m_pObject = nullptr;
};

// What a host shows in the context menus of an object: the menus its type declares and the
// actions their factories offer for it.
namespace KvActionMenu
{
// Every object the resource's saved file holds in full, in file order: the root, embedded
// records and owned objects (an object owned twice at its first place only).
KV_RESOURCECOMMON_API std::vector<KvResourceObject> ListObjects(const KvResource& resource);
// The object at a JSON pointer of ListObjects, or null.
KV_RESOURCECOMMON_API const KvResourceObject* FindObject(const std::vector<KvResourceObject>& objects,
                                                         const std::string& pointer);
// The menus a type declares, in declaration order.
KV_RESOURCECOMMON_API std::vector<const KvAttribute_NativeAction*> GetMenus(const KvReflectedDataType& type);
// The menu of that name, or null.
KV_RESOURCECOMMON_API const KvAttribute_NativeAction* FindMenu(const KvReflectedDataType& type,
                                                               const std::string& name);
// The actions a menu offers for an object of the resource. Class-level factories read the
// selected object from either the object or the member-data argument, so it is passed as both.
KV_RESOURCECOMMON_API std::vector<KvSmartPtr<KvNativeAction>>
GetActions(const KvAttribute_NativeAction& menu, KvResource& resource, const KvResourceObject& object);
} // namespace KvActionMenu
