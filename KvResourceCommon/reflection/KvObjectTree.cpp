#include "reflection/KvObjectTree.h"

#include "Foundation/KvReport.h"
#include "reflection/KvMemberVisitor.h"
#include "reflection/KvPointerSet.h"
#include "reflection/KvReflectedDataType.h"

#include <cstring>
#include <map>
#include <set>

namespace
{
void*& PointerAt(const KvReflectedPrimitive& member, void* pObject)
{
    return *static_cast<void**>(member.GetAddress(pObject));
}

void CopyValue(eReflectedValueType valueType, void* pTarget, const void* pSource, size_t width)
{
    if (valueType == VALUE_STRING)
        *static_cast<std::string*>(pTarget) = *static_cast<const std::string*>(pSource);
    else
        std::memcpy(pTarget, pSource, width);
}

// Frees owned children by their schemas, each object once.
class TreeReleaser : public KvMemberVisitorSkippingAll
{
public:
    void ReleaseTree(const KvReflectedDataType* pType, void* pObject)
    {
        if (!pObject || !m_Released.Insert(pObject))
            return;
        ReleaseChildren(pType, pObject);
        if (const KvReflectedObjectConstructor* pConstructor = pType->GetObjectConstructor())
            pConstructor->Destroy(pObject);
        else
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                        "An object of '%s' cannot be destroyed: the type was only declared by name",
                        pType->GetName().c_str());
    }

    // With bKeepSingleObjects, objects held by single owned pointers stay where they are.
    void ReleaseChildren(const KvReflectedDataType* pType, void* pObject, bool bKeepSingleObjects = false)
    {
        for (const KvReflectedPrimitive* pMember : pType->GetMembersHoldingObjects())
            KvVisitMember(*pMember, *this, pType, pObject, bKeepSingleObjects);
    }

    void Record(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                bool bKeepSingleObjects)
    {
        ReleaseChildren(member.GetElementType(), member.GetAddress(pObject), bKeepSingleObjects);
    }
    // The elements go with the array, so nothing inside them is kept.
    void RecordArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject, bool)
    {
        KvForEachElement(member, pObject,
                         [&](void* pElement, size_t) { ReleaseChildren(member.GetElementType(), pElement); });
        member.GetArrayAccessor()->Resize(member.GetAddress(pObject), 0);
    }
    void OwnedPointer(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                      bool bKeepSingleObjects)
    {
        if (bKeepSingleObjects)
            return;
        ReleaseTree(member.GetPointeeType(), PointerAt(member, pObject));
        PointerAt(member, pObject) = nullptr;
    }
    void OwnedPointerArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject,
                           bool)
    {
        KvForEachElement(member, pObject,
                         [&](void* pElement, size_t)
                         { ReleaseTree(member.GetPointeeType(), *static_cast<void**>(pElement)); });
        member.GetArrayAccessor()->Resize(member.GetAddress(pObject), 0);
    }
    void DynamicPointer(const KvReflectedPrimitive& member, const KvReflectedDataType* pType, void* pObject,
                        bool)
    {
        void*& pChild = PointerAt(member, pObject);
        if (!pChild)
            return;
        if (const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pObject, &member))
        {
            ReleaseTree(pChildType, pChild);
            pChild = nullptr;
        }
        else
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                        "'%s' of '%s' holds an object without a type in '%s'; it is left alone",
                        member.GetName().c_str(), pType->GetName().c_str(),
                        member.GetDynamicTypeMember().c_str());
    }

private:
    KvPointerSet m_Released;
};

class TreeCloner
{
public:
    // A copy of the source in pInto, or in a new object when pInto is null.
    void* CloneTree(const KvReflectedDataType* pType, const void* pSource, void* pInto = nullptr)
    {
        if (!pSource)
            return nullptr;
        if (const auto found = m_Clones.find(pSource); found != m_Clones.end())
            return found->second;
        const KvReflectedObjectConstructor* pConstructor = pType->GetObjectConstructor();
        if (!pConstructor)
        {
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                        "An object of '%s' cannot be copied: the type was only declared by name",
                        pType->GetName().c_str());
            return nullptr;
        }
        void* pTarget = pInto ? pInto : pConstructor->Create();
        m_Clones.emplace(pSource, pTarget);
        const bool bReconciles = KvObjectTree::ReconcilesConstructedChildren(pType);
        // What the constructor made by default gives way to the source's children; single
        // owned objects are filled where they are (see CloneOwned).
        if (!bReconciles)
            TreeReleaser().ReleaseChildren(pType, pTarget, true);
        CopyMembers(pType, pTarget, pSource, bReconciles);
        if (bReconciles)
            pConstructor->PostDeserialize(pTarget);
        return pTarget;
    }

    // Member callbacks: the member of the owner type, the target and source owners, and
    // whether the outermost owner reconciles what its constructor made.
    void Value(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pTarget,
               const void* pSource, bool)
    {
        CopyValue(member.GetValueType(), member.GetAddress(pTarget), member.GetAddress(pSource),
                  member.GetWidth());
    }
    void Enum(const KvReflectedPrimitive& member, const KvReflectedDataType* pType, void* pTarget,
              const void* pSource, bool bOwnerReconciles)
    {
        Value(member, pType, pTarget, pSource, bOwnerReconciles);
    }
    void Record(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pTarget,
                const void* pSource, bool bOwnerReconciles)
    {
        CopyMembers(member.GetElementType(), member.GetAddress(pTarget), member.GetAddress(pSource),
                    bOwnerReconciles);
    }
    void ValueArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pTarget,
                    const void* pSource, bool)
    {
        const size_t width = member.GetArrayAccessor()->GetElementSize();
        CopyElements(member, pTarget, pSource,
                     [&](void* pTo, const void* pFrom)
                     { CopyValue(member.GetValueType(), pTo, pFrom, width); });
    }
    void RecordArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pTarget,
                     const void* pSource, bool bOwnerReconciles)
    {
        CopyElements(member, pTarget, pSource,
                     [&](void* pTo, const void* pFrom)
                     { CopyMembers(member.GetElementType(), pTo, pFrom, bOwnerReconciles); });
    }
    void OwnedPointer(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pTarget,
                      const void* pSource, bool bOwnerReconciles)
    {
        void*& rSlot = PointerAt(member, pTarget);
        rSlot = CloneOwned(member.GetPointeeType(), PointerAt(member, const_cast<void*>(pSource)), rSlot,
                           bOwnerReconciles);
    }
    void OwnedPointerArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pTarget,
                           const void* pSource, bool)
    {
        CopyElements(member, pTarget, pSource,
                     [&](void* pTo, const void* pFrom) {
                         *static_cast<void**>(pTo) =
                             CloneTree(member.GetPointeeType(), *static_cast<void* const*>(pFrom));
                     });
    }
    // References and type records are shared with the source, except a reference to an object
    // this copy has already made (an owner up the tree): it points at the copy, so that a
    // copied child's parent link does not lead back into the source.
    void Reference(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pTarget,
                   const void* pSource, bool)
    {
        PointerAt(member, pTarget) = CopyOf(PointerAt(member, const_cast<void*>(pSource)));
    }
    void ReferenceArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pTarget,
                        const void* pSource, bool)
    {
        CopyElements(member, pTarget, pSource,
                     [this](void* pTo, const void* pFrom)
                     { *static_cast<void**>(pTo) = CopyOf(*static_cast<void* const*>(pFrom)); });
    }
    void TypeRecord(const KvReflectedPrimitive& member, const KvReflectedDataType* pType, void* pTarget,
                    const void* pSource, bool bOwnerReconciles)
    {
        Reference(member, pType, pTarget, pSource, bOwnerReconciles);
    }
    void DynamicPointer(const KvReflectedPrimitive& member, const KvReflectedDataType* pType, void* pTarget,
                        const void* pSource, bool)
    {
        const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pSource, &member);
        PointerAt(member, pTarget) =
            pChildType ? CloneTree(pChildType, PointerAt(member, const_cast<void*>(pSource))) : nullptr;
    }

private:
    void* CopyOf(void* pReferenced) const
    {
        const auto found = m_Clones.find(pReferenced);
        return found == m_Clones.end() ? pReferenced : found->second;
    }

    // The copy for a single owned pointer whose slot holds pMade from the constructor: pMade
    // itself filled with the source, so that unsaved state of the owner (an editor pawn's
    // transform link) still points at it, unless the source is null or shared.
    void* CloneOwned(const KvReflectedDataType* pType, const void* pSource, void* pMade,
                     bool bOwnerReconciles)
    {
        const bool bFillsMade = pMade && pSource && !m_Clones.contains(pSource);
        void* pCopy = CloneTree(pType, pSource, bFillsMade ? pMade : nullptr);
        if (pMade && pCopy != pMade && !bOwnerReconciles)
            TreeReleaser().ReleaseTree(pType, pMade);
        return pCopy;
    }

    void CopyMembers(const KvReflectedDataType* pType, void* pTarget, const void* pSource,
                     bool bOwnerReconciles)
    {
        for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
            KvVisitMember(*pType->GetMember(index), *this, pType, pTarget, pSource, bOwnerReconciles);
    }

    // Sizes the target's array as the source's and copies each element.
    template <class CopyElement>
    static void CopyElements(const KvReflectedPrimitive& member, void* pTarget, const void* pSource,
                             CopyElement&& copy)
    {
        const KvReflectedArrayAccessor* pAccessor = member.GetArrayAccessor();
        void* pTargetArray = member.GetAddress(pTarget);
        pAccessor->Resize(pTargetArray, pAccessor->GetSize(member.GetAddress(pSource)));
        KvForEachElement(member, pSource,
                         [&](void* pFrom, size_t index)
                         { copy(pAccessor->GetElement(pTargetArray, index), pFrom); });
    }

    std::map<const void*, void*> m_Clones;
};

// Visits every object of a tree once and hands each reference slot to the visit.
template <class Visit>
class ReferenceWalker : public KvMemberVisitorSkippingAll
{
public:
    explicit ReferenceWalker(Visit& visit) : m_rVisit(visit) {}

    void Walk(const KvReflectedDataType* pType, void* pObject)
    {
        if (!pObject || !m_Visited.insert(pObject).second)
            return;
        WalkMembers(pType, pObject);
    }

    void Record(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        WalkMembers(member.GetElementType(), member.GetAddress(pObject));
    }
    void RecordArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        KvForEachElement(member, pObject,
                         [&](void* pElement, size_t) { WalkMembers(member.GetElementType(), pElement); });
    }
    void OwnedPointer(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        Walk(member.GetPointeeType(), PointerAt(member, pObject));
    }
    void OwnedPointerArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        KvForEachElement(member, pObject,
                         [&](void* pElement, size_t)
                         { Walk(member.GetPointeeType(), *static_cast<void**>(pElement)); });
    }
    void Reference(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        m_rVisit(&PointerAt(member, pObject));
    }
    void ReferenceArray(const KvReflectedPrimitive& member, const KvReflectedDataType*, void* pObject)
    {
        KvForEachElement(member, pObject,
                         [&](void* pElement, size_t) { m_rVisit(static_cast<void**>(pElement)); });
    }
    void DynamicPointer(const KvReflectedPrimitive& member, const KvReflectedDataType* pType, void* pObject)
    {
        if (const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pObject, &member))
            Walk(pChildType, PointerAt(member, pObject));
    }

private:
    void WalkMembers(const KvReflectedDataType* pType, void* pObject)
    {
        for (const KvReflectedPrimitive* pMember : pType->GetMembersHoldingObjects())
            KvVisitMember(*pMember, *this, pType, pObject);
    }

    Visit& m_rVisit;
    std::set<void*> m_Visited;
};
} // namespace

namespace KvObjectTree
{
bool ReconcilesConstructedChildren(const KvReflectedDataType* pType)
{
    return pType && pType->GetObjectConstructor() && pType->GetObjectConstructor()->HasPostDeserialize();
}

size_t RetargetReferences(const KvReflectedDataType* pType, void* pRoot, const void* from, void* to)
{
    size_t changed = 0;
    auto retarget = [&](void** ppReference)
    {
        if (*ppReference == from)
        {
            *ppReference = to;
            ++changed;
        }
    };
    ReferenceWalker(retarget).Walk(pType, pRoot);
    return changed;
}

void* Clone(const KvReflectedDataType* pType, const void* pSource)
{
    return TreeCloner().CloneTree(pType, pSource);
}

void Destroy(const KvReflectedDataType* pType, void* pObject)
{
    TreeReleaser().ReleaseTree(pType, pObject);
}

const KvReflectedDataType* GetDynamicType(const KvReflectedDataType* pOwnerType, const void* pOwner,
                                          const KvReflectedPrimitive* pMember)
{
    const int32_t typeIndex = pOwnerType->FindMember(pMember->GetDynamicTypeMember().c_str());
    if (typeIndex < 0)
        return nullptr;
    return *static_cast<const KvReflectedDataType* const*>(
        pOwnerType->GetMember(typeIndex)->GetAddress(pOwner));
}
} // namespace KvObjectTree
