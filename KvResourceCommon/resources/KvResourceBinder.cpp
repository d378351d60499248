#include "resources/KvResourceBinder.h"

KvBoundObject KvResourceBinder::GetBoundObject(const void*) const
{
    return {};
}
