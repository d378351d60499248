#include "actions/KvNativeAction.h"

#include "TypeManager/KvObjectFactory.h"

KV_IMPLEMENT_TYPED_CLASS(KvNativeAction)
KV_IMPLEMENT_TYPED_CLASS(KvReflectedObjectAction)
