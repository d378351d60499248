#pragma once

#include <cstdint>

// Process-wide error settings, published as "KvError_Globals". The host sets them.
struct tGlobals
{
    uint8_t m_bShowMessageBox = 1;
    uint8_t m_bRaiseException = 0;
};

namespace KvError
{
// The published error globals, or null when none are published.
tGlobals* GetGlobals();
} // namespace KvError
