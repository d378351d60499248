#pragma once

#include "Foundation/KvSmartPtr.h"
#include "actions/KvNativeAction.h"
#include "reflection/KvAttributes.h"

#include <string>
#include <vector>

using ActionList = std::vector<KvSmartPtr<KvNativeAction>>;

// What an object's menu offers, asked as the host asks: the object passed both as the object and
// as the member data.
template <class T>
ActionList ActionMenu(T* pObject, const std::string& menuName, KvResource* pResource = nullptr)
{
    ActionList actions;
    for (const KvAttribute* pAttribute : T::GetReflectedDataType()->GetAttributes())
    {
        if (pAttribute->GetKind() != KvAttribute_NativeAction::kKind)
            continue;
        const auto* pMenu = static_cast<const KvAttribute_NativeAction*>(pAttribute);
        if (pMenu->GetMenuName() == menuName)
            pMenu->GetFactory()(actions, pResource, T::GetReflectedDataType(), pObject, nullptr, pObject);
    }
    return actions;
}

inline std::vector<std::string> ActionNames(const ActionList& actions)
{
    std::vector<std::string> names;
    for (const KvSmartPtr<KvNativeAction>& action : actions)
        names.push_back(action->GetName());
    return names;
}
