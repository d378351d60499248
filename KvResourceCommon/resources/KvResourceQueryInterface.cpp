#include "resources/KvResourceQueryInterface.h"

#include "resources/KvResource.h"

void KvResourceQueryInterface::RequestPayload(KvResource* pResource, uint32_t platform, bool, bool)
{
    if (pResource && !pResource->GetPayload() && m_PayloadLoader)
        m_PayloadLoader(*pResource, platform);
}
