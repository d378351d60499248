#pragma once

#include "Foundation/KvColor.h"
#include "KvResourcePlugin_CoreExport.h"
#include "math/KvVector.h"
#include "projectdata/KvXRefObject.h"

#include <string>
#include <vector>

class KvProjectData_Core_Raw_Texture;

// A compiled shader pass, referred to by shaders, bindings and render passes.
class KV_PLUGIN_CORE_API KvCompiledShaderPass_Ref : public KvXRefObject<KvCompiledShaderPass_Ref>
{
public:
    std::string m_strName;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_RenderPass
    : public KvXRefObject<KvProjectData_Core_Raw_RenderPass>
{
public:
    std::string m_strName;
    KvCompiledShaderPass_Ref* m_pShader = nullptr;
    KvCompiledShaderPass_Ref* m_pShader_AlphaTest = nullptr;
    KvCompiledShaderPass_Ref* m_pShader_Skinned_AlphaTest = nullptr;
    KvCompiledShaderPass_Ref* m_pShader_Skinned = nullptr;
    bool m_bAddParticlesToVisible = false;
    bool m_bDebugPrimitivesToVisible = false;
    bool m_bLightPrimitivesToVisible = false;
    bool m_bShadowCastersToVisible = false;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The raw data of a shader resource: its bytes and its passes.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Shader
{
public:
    std::vector<uint8_t> m_acShaderBin;
    std::vector<KvCompiledShaderPass_Ref*> m_apShaders;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_MaterialTextureSlot
{
public:
    // After loading: finds the texture named by the default texture text (a "u:\\..."
    // path keeps only what follows its first "texture\\").
    void PostDeserialize();

    std::string m_strSlotName;
    std::string m_strDefaultTexture;
    KvProjectData_Core_Raw_Texture* m_pTexture = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

// Which compiled shader pass a material uses in one render pass.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_MaterialPassBinding
{
public:
    KvProjectData_Core_Raw_RenderPass* m_pRenderPass = nullptr;
    KvCompiledShaderPass_Ref* m_pShader = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

// Laid out as the renderer reads it; declared in the editor's order.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Material_Params
{
public:
    bool m_bAlphaTest = false;
    float m_fSpecularMultiplier = 1.0f;
    float m_fSpecularStrength = 4.0f;
    KvColor m_colMaterialAmbient{255, 255, 255, 255};
    float m_fGlobalAmbientMultiplier = 0.5f;
    float m_fAlphaTestThreshold = 0.5f;
    float m_fGlobalLightmapMask = 0.0f;
    KvColor m_colRimlightColor{255, 255, 255, 255};
    KvVector4 m_vRimParams;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Material
    : public KvXRefObject<KvProjectData_Core_Raw_Material>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_MaterialTextureSlot*> m_apTextureSlots;
    std::vector<KvProjectData_Core_Raw_MaterialPassBinding*> m_apBindings;
    KvProjectData_Core_Raw_Material_Params m_props;

    static const KvReflectedDataType* GetReflectedDataType();
};
