#pragma once

#include "KvResourceCommonExport.h"

class KvResource;
class KvResourceDescriptor;

// A new resource of a type: an instance of the descriptor's resource class when the type
// manager can make one that is a KvResource, a plain KvResource otherwise. The caller binds
// the descriptor and the data.
KV_RESOURCECOMMON_API KvResource* KvCreateResource(const KvResourceDescriptor* pType);
