#pragma once

#include "KvResourceCommonExport.h"
#include "math/KvVector.h"

// The editor-only proxy an object is drawn at in the editor's view, as the code that draws at it
// sees it: plug-ins make pawns, game modules draw at them without knowing the plug-in's class.
class KV_RESOURCECOMMON_API KvEditorPawn
{
public:
    virtual ~KvEditorPawn() = default;
    // Where the pawn stands in the world; the origin when it has no place.
    virtual KvVector3 GetWorldPosition() const = 0;
};
