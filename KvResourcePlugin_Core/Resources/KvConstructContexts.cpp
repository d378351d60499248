#include "projectdata/KvConstructContexts.h"

#include "projectdata/KvSchema.h"
#include "reflection/KvReflectedDataType.h"

void KvAppendLiveObjectContexts(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                const char* sourceTypeName, const KvReflectedDataType* pTargetType,
                                void* pParentObject, const KvReflectedPrimitive* pParentMember)
{
    const KvReflectedDataType* pSourceType = KvDeclareForward(sourceTypeName);
    std::vector<void*> sources;
    KvReflectionInterface::GetInstance()->GetLiveObjects(pSourceType, sources);
    outContexts.push_back(
        new KvReflectedObjCtorContext("NONE", pTargetType, pParentObject, pParentMember, nullptr, 0));
    for (void* pSource : sources)
        outContexts.push_back(new KvReflectedObjCtorContext(pSourceType->GetObjectDisplayName(pSource),
                                                            pTargetType, pParentObject, pParentMember,
                                                            pSource, 0));
}
