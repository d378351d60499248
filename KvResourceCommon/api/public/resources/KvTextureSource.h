#pragma once

#include "KvResourceCommonExport.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The pixels of a loaded texture as the renderer reads them. The surfaces point into the
// payload that holds this source; they live as long as that payload.
class KV_RESOURCECOMMON_API KvTextureSource
{
public:
    struct tSurface
    {
        uint32_t m_ulFace = 0;
        uint32_t m_ulMip = 0;
        uint32_t m_ulWidth = 0;
        uint32_t m_ulHeight = 0;
        const uint8_t* m_pData = nullptr;
        size_t m_Size = 0;
    };

    uint32_t m_ulWidth = 0;
    uint32_t m_ulHeight = 0;
    uint32_t m_ulDepth = 1;
    // The texture's format value as its data type names it.
    uint32_t m_ulFormat = 0;
    std::vector<tSurface> m_aSurfaces;
};
