#include "Foundation/KvLog.h"

#include "Foundation/KvSharedMemoryPtr.h"
#include "Foundation/KvSharedObjects.h"

#include <algorithm>

namespace KvLog
{
KvLogInterfaceContainer* GetContainer()
{
    return KvSharedMemoryPtr<KvLogInterfaceContainer>::ForModule().Get();
}

void Write(const char* category, uint32_t level, const char* message)
{
    KvLogInterfaceContainer* pContainer = GetContainer();
    if (!pContainer)
        return;
    for (KvLogInterface* pInterface : pContainer->m_apInterfaces)
    {
        if (pInterface)
            pInterface->Write(category, level, message);
    }
}

void AddInterface(KvLogInterface* pInterface)
{
    if (KvLogInterfaceContainer* pContainer = GetContainer())
        pContainer->m_apInterfaces.push_back(pInterface);
}

void RemoveInterface(KvLogInterface* pInterface)
{
    if (KvLogInterfaceContainer* pContainer = GetContainer())
        std::erase(pContainer->m_apInterfaces, pInterface);
}
} // namespace KvLog
