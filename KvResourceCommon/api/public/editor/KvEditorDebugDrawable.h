#pragma once

#include "KvResourceCommonExport.h"

#include <cstdint>

class KvEditorPawn;

// Game-side objects (actor code, components) that draw their own debug view at their actor's
// pawn. Plug-ins hold such objects by address only, so run-time classes implement it as their
// first base: the object's address is the interface's.
class KV_RESOURCECOMMON_API KvEditorDebugDrawable
{
public:
    virtual ~KvEditorDebugDrawable() = default;
    virtual void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const = 0;
};
