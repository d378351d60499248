#pragma once

#include "KvResourceCommonExport.h"

#include <cstdint>

class KvEditorPawn;

// What an editor pawn draws through: the object it stands for, or a preview handler.
class KV_RESOURCECOMMON_API KvEditorPawnCallback
{
public:
    virtual ~KvEditorPawnCallback() = default;
    virtual void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const = 0;
};
