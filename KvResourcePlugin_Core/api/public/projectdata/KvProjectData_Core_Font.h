#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>
#include <string>
#include <vector>

// A texture-space box; empty by default like every box of the data model.
struct KvBoundingBox2D
{
    KvVector2 m_vMin{3.40282347e38f, 3.40282347e38f};
    KvVector2 m_vMax{-3.40282347e38f, -3.40282347e38f};
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Font_Character
{
public:
    uint32_t m_ulId = 0;
    KvVector2 m_vPos;
    KvVector2 m_vSize;
    int32_t m_slOffsetX = 0;
    int32_t m_slOffsetY = 0;
    int32_t m_slAdvanceX = 0;
    uint32_t m_ulPage = 0;
    KvBoundingBox2D m_vUV;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Font : public KvXRefObject<KvProjectData_Core_Font>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Font_Character> m_apCharacters;
    uint32_t m_ulFontSize = 0;
    std::string m_strFontPage;

    static const KvReflectedDataType* GetReflectedDataType();
};
