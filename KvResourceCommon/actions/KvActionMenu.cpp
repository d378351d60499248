#include "actions/KvActionMenu.h"

#include "reflection/KvAttributes.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvSavedObjectWalk.h"

namespace KvActionMenu
{
std::vector<KvResourceObject> ListObjects(const KvResource& resource)
{
    std::vector<KvResourceObject> objects;
    KvWalkSavedObjects(resource.GetDescriptor()->GetRootDataType(), resource.GetRawData(),
                       [&](const std::string& pointer, const KvReflectedDataType* pType, void* pObject) {
                           objects.push_back({pointer, pType, pObject});
                       });
    return objects;
}

const KvResourceObject* FindObject(const std::vector<KvResourceObject>& objects, const std::string& pointer)
{
    for (const KvResourceObject& object : objects)
        if (object.m_strPointer == pointer)
            return &object;
    return nullptr;
}

std::vector<const KvAttribute_NativeAction*> GetMenus(const KvReflectedDataType& type)
{
    std::vector<const KvAttribute_NativeAction*> menus;
    for (const KvAttribute* pAttribute : type.GetAttributes())
        if (pAttribute->GetKind() == KvAttribute_NativeAction::kKind)
            menus.push_back(static_cast<const KvAttribute_NativeAction*>(pAttribute));
    return menus;
}

const KvAttribute_NativeAction* FindMenu(const KvReflectedDataType& type, const std::string& name)
{
    for (const KvAttribute_NativeAction* pMenu : GetMenus(type))
        if (pMenu->GetMenuName() == name)
            return pMenu;
    return nullptr;
}

std::vector<KvSmartPtr<KvNativeAction>> GetActions(const KvAttribute_NativeAction& menu, KvResource& resource,
                                                   const KvResourceObject& object)
{
    std::vector<KvSmartPtr<KvNativeAction>> actions;
    menu.GetFactory()(actions, &resource, object.m_pType, object.m_pObject, nullptr, object.m_pObject);
    return actions;
}
} // namespace KvActionMenu
