#pragma once

#include "Foundation/KvEnumConverter.h"

namespace KvMemoryManager
{
enum tAllocType
{
    ALLOC_CPU = 0,
    ALLOC_COUNT
};
} // namespace KvMemoryManager

extern const KvEnumConverter<KvMemoryManager::tAllocType> g_Converter_AllocType;
