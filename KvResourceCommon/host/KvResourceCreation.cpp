#include "host/KvResourceCreation.h"

#include "TypeManager/KvTypeManager.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"

KvResource* KvCreateResource(const KvResourceDescriptor* pType)
{
    KvTypeInfo* pClass = pType->GetResourceClass();
    if (pClass && KvTypeManager::GetInstance()->IsOrDerivesFrom(pClass, KvResource::GetType()->m_uiIndex))
        if (KvTypedObject* pObject = pClass->CreateInstance())
            return static_cast<KvResource*>(pObject);
    return new KvResource();
}
