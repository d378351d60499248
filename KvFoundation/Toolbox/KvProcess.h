#pragma once

#include "TypeManager/KvTypedObject.h"

// A unit of work a framework runs once per frame until it reports that it is done. Concrete
// processes belong to the game's run-time code and are created by class name.
class KvProcess : public KvTypedObject
{
    KV_DECLARE_TYPED_CLASS(KvProcess, KvTypedObject)

public:
    // Advances the process by the frame's duration; false once it has finished.
    virtual bool Update(float deltaSeconds) = 0;
};
