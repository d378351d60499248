#pragma once

#include "KvResourceCommonExport.h"
#include "TypeManager/KvTypedObject.h"
#include "editor/KvEditorPawnCallback.h"

class KvReflectedDataType;

// Base of the game's preview handlers: a plug-in creates one by class name for an object it
// previews, and the handler draws at the preview's pawn.
class KV_RESOURCECOMMON_API KvEditorPawnCallbackHandler : public KvTypedObject, public KvEditorPawnCallback
{
    KV_DECLARE_TYPED_CLASS(KvEditorPawnCallbackHandler, KvTypedObject)

public:
    // The callback interface's destructor may not throw, so a fatal error in this one ends
    // the process even where the host asked for it to be raised.
    ~KvEditorPawnCallbackHandler() noexcept override = default;

    // Gives the handler the object it previews and that object's type.
    virtual void SetPreviewedObject(const KvReflectedDataType* pType, void* pObject) = 0;

    // A new handler of the named class when it is this class or derives from it; else null.
    static KvEditorPawnCallbackHandler* CreateInstance(const char* className);
};
