#include "Foundation/KvMemoryManager.h"

const KvEnumConverter<KvMemoryManager::tAllocType>
    g_Converter_AllocType("KvMemoryManager::tAllocType", KvMemoryManager::ALLOC_COUNT,
                          {{KvMemoryManager::ALLOC_CPU, "ALLOC_CPU"}});
