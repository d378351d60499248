#include "actions/KvActionMenu.h"

#include "reflection/KvAttributes.h"
#include "reflection/KvMemberVisitor.h"
#include "reflection/KvObjectTree.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonPointer.h"
#include "store/KvJsonStore.h"

#include <set>

namespace
{
void* PointerAt(const KvReflectedPrimitive& member, void* pObject)
{
    return *static_cast<void**>(member.GetAddress(pObject));
}

// Walks the members the store saves, in the order it saves them, keeping the JSON pointer of
// the value it is at, and lists each object written in full.
class SavedObjectWalker : public KvMemberVisitorSkippingAll
{
public:
    explicit SavedObjectWalker(std::vector<KvResourceObject>& outObjects) : m_rObjects(outObjects) {}

    void Object(const KvReflectedDataType* pType, void* pObject)
    {
        m_rObjects.push_back({m_strPath, pType, pObject});
        for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
        {
            const KvReflectedPrimitive& member = *pType->GetMember(index);
            if (!KvJsonStore::IsSaved(member))
                continue;
            const KvJsonPointerToken token(m_strPath, member.GetName());
            KvVisitMember(member, *this, pType, pObject);
        }
    }

    void Record(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        Object(member.GetElementType(), member.GetAddress(pObject));
    }
    void RecordArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        ForEachElement(member, pObject, [&](void* pElement) { Object(member.GetElementType(), pElement); });
    }
    void OwnedPointer(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        Owned(member.GetPointeeType(), PointerAt(member, pObject));
    }
    void OwnedPointerArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        ForEachElement(member, pObject,
                       [&](void* pElement)
                       { Owned(member.GetPointeeType(), *static_cast<void**>(pElement)); });
    }
    void DynamicPointer(const KvReflectedPrimitive& member, const KvReflectedDataType* pType, void* pObject)
    {
        Owned(KvObjectTree::GetDynamicType(pType, pObject, &member), PointerAt(member, pObject));
    }

private:
    template <class Visit>
    void ForEachElement(const KvReflectedPrimitive& member, void* pObject, Visit&& visit)
    {
        KvForEachElement(member, pObject,
                         [&](void* pElement, size_t index)
                         {
                             const KvJsonPointerToken token(m_strPath, index);
                             visit(pElement);
                         });
    }

    void Owned(const KvReflectedDataType* pType, void* pObject)
    {
        if (pType && pObject && m_Listed.insert(pObject).second)
            Object(pType, pObject);
    }

    std::vector<KvResourceObject>& m_rObjects;
    std::string m_strPath;
    std::set<const void*> m_Listed;
};
} // namespace

namespace KvActionMenu
{
std::vector<KvResourceObject> ListObjects(const KvResource& resource)
{
    std::vector<KvResourceObject> objects;
    if (void* pRaw = resource.GetRawData())
        SavedObjectWalker(objects).Object(resource.GetDescriptor()->GetRootDataType(), pRaw);
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
