#include "Reflection/KvObjectTree.h"

#include "Foundation/KvReport.h"
#include "Reflection/KvReflectedDataType.h"
#include "Reflection/KvReflectionInterface.h"

#include <cstring>
#include <map>
#include <set>

namespace
{
void*& PointerAt(const KvReflectedPrimitive* pMember, void* pObject)
{
    return *static_cast<void**>(pMember->GetAddress(pObject));
}

bool IsTypeRecordPointer(const KvReflectedPrimitive* pMember)
{
    return pMember->GetPointeeType() == KvReflectionInterface::GetInstance()->GetTypeRecordType();
}

bool OwnsPointee(const KvReflectedPrimitive* pMember)
{
    return pMember->IsOwningPointer() && !IsTypeRecordPointer(pMember);
}

void CopyValue(eReflectedValueType valueType, void* pTarget, const void* pSource, uint32_t width)
{
    if (valueType == VALUE_STRING)
        *static_cast<std::string*>(pTarget) = *static_cast<const std::string*>(pSource);
    else
        std::memcpy(pTarget, pSource, width);
}

uint32_t ValueWidth(const KvReflectedPrimitive* pMember)
{
    return static_cast<uint32_t>(pMember->GetArrayAccessor() ? pMember->GetArrayAccessor()->GetElementSize()
                                                             : pMember->GetWidth());
}

class TreeReleaser
{
public:
    void ReleaseTree(const KvReflectedDataType* pType, void* pObject)
    {
        if (!pObject || !m_Released.insert(pObject).second)
            return;
        ReleaseChildren(pType, pObject);
        if (const KvReflectedObjectConstructor* pConstructor = pType->GetObjectConstructor())
            pConstructor->Destroy(pObject);
        else
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                        "An object of '%s' cannot be destroyed: the type was only declared by name",
                        pType->GetName().c_str());
    }

    void ReleaseChildren(const KvReflectedDataType* pType, void* pObject)
    {
        for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
        {
            const KvReflectedPrimitive* pMember = pType->GetMember(index);
            void* pAddress = pMember->GetAddress(pObject);
            switch (pMember->GetKind())
            {
            case PRIMITIVE_STRUCT:
                ReleaseChildren(pMember->GetElementType(), pAddress);
                break;
            case PRIMITIVE_ARRAY_STRUCT:
            {
                const KvReflectedArrayAccessor* pAccessor = pMember->GetArrayAccessor();
                for (size_t element = 0; element < pAccessor->GetSize(pAddress); ++element)
                    ReleaseChildren(pMember->GetElementType(), pAccessor->GetElement(pAddress, element));
                pAccessor->Resize(pAddress, 0);
                break;
            }
            case PRIMITIVE_POINTER:
                if (OwnsPointee(pMember))
                {
                    ReleaseTree(pMember->GetPointeeType(), PointerAt(pMember, pObject));
                    PointerAt(pMember, pObject) = nullptr;
                }
                break;
            case PRIMITIVE_ARRAY_POINTER:
                if (pMember->IsOwningPointer())
                {
                    const KvReflectedArrayAccessor* pAccessor = pMember->GetArrayAccessor();
                    for (size_t element = 0; element < pAccessor->GetSize(pAddress); ++element)
                        ReleaseTree(pMember->GetPointeeType(),
                                    *static_cast<void**>(pAccessor->GetElement(pAddress, element)));
                    pAccessor->Resize(pAddress, 0);
                }
                break;
            case PRIMITIVE_DYNAMIC_POINTER:
                ReleaseDynamic(pType, pObject, pMember);
                break;
            default:
                break;
            }
        }
    }

private:
    void ReleaseDynamic(const KvReflectedDataType* pType, void* pObject, const KvReflectedPrimitive* pMember)
    {
        void*& pChild = PointerAt(pMember, pObject);
        if (!pChild)
            return;
        if (const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pObject, pMember))
        {
            ReleaseTree(pChildType, pChild);
            pChild = nullptr;
        }
        else
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                        "'%s' of '%s' holds an object without a type in '%s'; it is left alone",
                        pMember->GetName().c_str(), pType->GetName().c_str(),
                        pMember->GetDynamicTypeMember().c_str());
    }

    std::set<void*> m_Released;
};

class TreeCloner
{
public:
    void* CloneTree(const KvReflectedDataType* pType, const void* pSource)
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
        void* pTarget = pConstructor->Create();
        m_Clones.emplace(pSource, pTarget);
        const bool bReconciles = KvObjectTree::ReconcilesConstructedChildren(pType);
        // What the constructor made by default gives way to the source's children.
        if (!bReconciles)
            TreeReleaser().ReleaseChildren(pType, pTarget);
        CopyMembers(pType, pTarget, pSource);
        if (bReconciles)
            pConstructor->PostDeserialize(pTarget);
        return pTarget;
    }

private:
    void CopyMembers(const KvReflectedDataType* pType, void* pTarget, const void* pSource)
    {
        for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
        {
            const KvReflectedPrimitive* pMember = pType->GetMember(index);
            void* pTo = pMember->GetAddress(pTarget);
            const void* pFrom = pMember->GetAddress(pSource);
            const KvReflectedArrayAccessor* pAccessor = pMember->GetArrayAccessor();
            switch (pMember->GetKind())
            {
            case PRIMITIVE_VALUE:
            case PRIMITIVE_ENUM:
                CopyValue(pMember->GetValueType(), pTo, pFrom, pMember->GetWidth());
                break;
            case PRIMITIVE_STRUCT:
                CopyMembers(pMember->GetElementType(), pTo, pFrom);
                break;
            case PRIMITIVE_ARRAY:
            case PRIMITIVE_ARRAY_STRUCT:
            case PRIMITIVE_ARRAY_POINTER:
            {
                const size_t size = pAccessor->GetSize(pFrom);
                pAccessor->Resize(pTo, size);
                for (size_t element = 0; element < size; ++element)
                    CopyElement(pMember, pAccessor->GetElement(pTo, element),
                                pAccessor->GetElement(const_cast<void*>(pFrom), element));
                break;
            }
            case PRIMITIVE_POINTER:
            {
                const void* pPointee = *static_cast<void* const*>(pFrom);
                *static_cast<void**>(pTo) = OwnsPointee(pMember)
                                                ? CloneTree(pMember->GetPointeeType(), pPointee)
                                                : const_cast<void*>(pPointee);
                break;
            }
            case PRIMITIVE_DYNAMIC_POINTER:
            {
                const void* pChild = *static_cast<void* const*>(pFrom);
                const KvReflectedDataType* pChildType = KvObjectTree::GetDynamicType(pType, pSource, pMember);
                *static_cast<void**>(pTo) = pChildType ? CloneTree(pChildType, pChild) : nullptr;
                break;
            }
            default:
                break;
            }
        }
    }

    void CopyElement(const KvReflectedPrimitive* pMember, void* pTo, const void* pFrom)
    {
        switch (pMember->GetKind())
        {
        case PRIMITIVE_ARRAY:
            CopyValue(pMember->GetValueType(), pTo, pFrom, ValueWidth(pMember));
            break;
        case PRIMITIVE_ARRAY_STRUCT:
            CopyMembers(pMember->GetElementType(), pTo, pFrom);
            break;
        default:
        {
            const void* pPointee = *static_cast<void* const*>(pFrom);
            *static_cast<void**>(pTo) = pMember->IsOwningPointer()
                                            ? CloneTree(pMember->GetPointeeType(), pPointee)
                                            : const_cast<void*>(pPointee);
            break;
        }
        }
    }

    std::map<const void*, void*> m_Clones;
};
// Visits every object of a tree once, with its type.
class TreeWalker
{
public:
    template <class Visit>
    void Walk(const KvReflectedDataType* pType, void* pObject, Visit&& visit)
    {
        if (!pObject || !m_Visited.insert(pObject).second)
            return;
        WalkMembers(pType, pObject, visit);
    }

private:
    template <class Visit>
    void WalkMembers(const KvReflectedDataType* pType, void* pObject, Visit& visit)
    {
        for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
        {
            const KvReflectedPrimitive* pMember = pType->GetMember(index);
            void* pAddress = pMember->GetAddress(pObject);
            const KvReflectedArrayAccessor* pAccessor = pMember->GetArrayAccessor();
            switch (pMember->GetKind())
            {
            case PRIMITIVE_STRUCT:
                WalkMembers(pMember->GetElementType(), pAddress, visit);
                break;
            case PRIMITIVE_ARRAY_STRUCT:
                for (size_t element = 0; element < pAccessor->GetSize(pAddress); ++element)
                    WalkMembers(pMember->GetElementType(), pAccessor->GetElement(pAddress, element), visit);
                break;
            case PRIMITIVE_POINTER:
                VisitPointer(pMember, static_cast<void**>(pAddress), visit);
                break;
            case PRIMITIVE_ARRAY_POINTER:
                for (size_t element = 0; element < pAccessor->GetSize(pAddress); ++element)
                    VisitPointer(pMember, static_cast<void**>(pAccessor->GetElement(pAddress, element)),
                                 visit);
                break;
            case PRIMITIVE_DYNAMIC_POINTER:
                if (const KvReflectedDataType* pChildType =
                        KvObjectTree::GetDynamicType(pType, pObject, pMember))
                    Walk(pChildType, *static_cast<void**>(pAddress), visit);
                break;
            default:
                break;
            }
        }
    }

    template <class Visit>
    void VisitPointer(const KvReflectedPrimitive* pMember, void** ppSlot, Visit& visit)
    {
        if (OwnsPointee(pMember))
            Walk(pMember->GetPointeeType(), *ppSlot, visit);
        else if (!IsTypeRecordPointer(pMember))
            visit(ppSlot);
    }

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
    TreeWalker().Walk(pType, pRoot,
                      [&](void** ppReference)
                      {
                          if (*ppReference == from)
                          {
                              *ppReference = to;
                              ++changed;
                          }
                      });
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
