#include "store/KvSavedObjectWalk.h"

#include "reflection/KvMemberVisitor.h"
#include "reflection/KvObjectTree.h"
#include "reflection/KvReflectedDataType.h"
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
// the value it is at.
class SavedObjectWalker : public KvMemberVisitorSkippingAll
{
public:
    explicit SavedObjectWalker(const KvSavedObjectVisit& visit) : m_rVisit(visit) {}

    void Object(const KvReflectedDataType* pType, void* pObject)
    {
        m_rVisit(m_strPath, pType, pObject);
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
        if (pType && pObject && m_Walked.insert(pObject).second)
            Object(pType, pObject);
    }

    const KvSavedObjectVisit& m_rVisit;
    std::string m_strPath;
    std::set<const void*> m_Walked;
};
} // namespace

void KvWalkSavedObjects(const KvReflectedDataType* pType, void* pRoot, const KvSavedObjectVisit& visit)
{
    if (pType && pRoot)
        SavedObjectWalker(visit).Object(pType, pRoot);
}
