// A game module for the host's tests: one run-time class registered on request.
#include "Foundation/KvExport.h"
#include "TypeManager/KvObjectFactory.h"

namespace
{
class KvTestGameCode : public KvTypedObject
{
    KV_DECLARE_TYPED_CLASS(KvTestGameCode, KvTypedObject)
};
} // namespace

KvTypeInfo* KvTestGameCode::GetType()
{
    static const KvObjectFactory<KvTestGameCode> s_Factory;
    return s_Factory.GetTypeInfo();
}

extern "C" KV_EXPORT void KvRegisterGameTypes()
{
    KvTestGameCode::GetType();
}
