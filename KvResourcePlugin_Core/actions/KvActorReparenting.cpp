#include "actions/KvActorReparenting.h"

#include "Foundation/KvReport.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "reflection/KvReflectedDataType.h"

void KvDetachActors(const std::vector<KvProjectData_Core_Raw_ActorEntry*>& actors)
{
    // Without a parent the handler unlinks the actor and destroys its pawn, keeping the transform.
    KvAttachActors(nullptr, nullptr, nullptr, actors);
}

void KvAttachActors(const KvReflectedDataType* pParentType, void* pParent,
                    const KvReflectedPrimitive* pMember,
                    const std::vector<KvProjectData_Core_Raw_ActorEntry*>& actors)
{
    for (KvProjectData_Core_Raw_ActorEntry* pActor : actors)
        if (pActor)
            KvProjectData_Core_Raw_ActorEntry::OnParentChanged(pParentType, pParent, pMember, pActor);
}

const KvReflectedPrimitive* KvFindExpectedMember(const KvReflectedDataType* pType, const char* memberName,
                                                 const KvReportSite& site)
{
    const int32_t index = pType->FindMember(memberName);
    if (index < 0)
        KvFatalReport(site, "Failed to find expected primitive '%s.%s'", pType->GetName().c_str(),
                      memberName);
    return pType->GetMember(static_cast<uint32_t>(index));
}
