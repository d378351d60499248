#include "Toolbox/KvProcess.h"

#include "TypeManager/KvObjectFactory.h"

KV_IMPLEMENT_TYPED_CLASS(KvProcess)
