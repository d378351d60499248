#include "IO/KvIOStream.h"

#include "TypeManager/KvObjectFactory.h"

KV_IMPLEMENT_TYPED_CLASS(KvIOStream)
