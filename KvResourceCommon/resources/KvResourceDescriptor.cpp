#include "resources/KvResourceDescriptor.h"

uint32_t KvResourceDescriptor::GetUniqueIdentifier() const
{
    uint32_t hash = 2166136261u;
    for (const char* pChar = GetTypeName(); *pChar; ++pChar)
        hash = (hash ^ static_cast<uint8_t>(*pChar)) * 16777619u;
    return hash;
}
