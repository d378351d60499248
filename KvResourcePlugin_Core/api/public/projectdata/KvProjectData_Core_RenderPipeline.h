#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "math/KvVector.h"
#include "projectdata/KvProjectData_Core_Texture.h"
#include "projectdata/KvXRefObject.h"
#include "reflection/KvReflectedObjCtorContext.h"

#include <cstdint>
#include <string>
#include <vector>

class KvProjectData_Core_Raw_RenderPass;
class KvTextureSource;

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderNodePinData_Texture
{
public:
    // The texture's source once loaded; asks the texture while it is not.
    KvTextureSource* EnsureTextureSourceLoaded();

    KvProjectData_Core_Raw_Texture* m_pTexture = nullptr;
    KvTextureSource* m_pTextureSource = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

#define KV_DECLARE_PIN_DATA(Class, Member, Type)                                                             \
    class KV_PLUGIN_CORE_API Class                                                                           \
    {                                                                                                        \
    public:                                                                                                  \
        Type Member{};                                                                                       \
        static const KvReflectedDataType* GetReflectedDataType();                                            \
    }

KV_DECLARE_PIN_DATA(KvProjectData_Core_RenderNodePinData_Shader, m_strShaderRef, std::string);
KV_DECLARE_PIN_DATA(KvProjectData_Core_RenderNodePinData_Bool, m_bData, bool);
KV_DECLARE_PIN_DATA(KvProjectData_Core_RenderNodePinData_Float, m_fData, float);
KV_DECLARE_PIN_DATA(KvProjectData_Core_RenderNodePinData_Float2, m_vData, KvVector2);
KV_DECLARE_PIN_DATA(KvProjectData_Core_RenderNodePinData_Float3, m_vData, KvVector3);
KV_DECLARE_PIN_DATA(KvProjectData_Core_RenderNodePinData_Float4, m_vData, KvVector4);

#undef KV_DECLARE_PIN_DATA

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderNodePinData_SwapChain
{
public:
    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderNodePinData_Camera
{
public:
    static const KvReflectedDataType* GetReflectedDataType();
};

// The pin kind codes stored in a pin's "m_eType".
enum eRenderPinKind : uint32_t
{
    RENDER_PIN_TEXTURE = 0,
    RENDER_PIN_SHADER = 1,
    RENDER_PIN_CAMERA = 7,
    RENDER_PIN_SWAP_CHAIN = 8,
    RENDER_PIN_FLOAT = 9,
    RENDER_PIN_FLOAT2 = 10,
    RENDER_PIN_FLOAT3 = 11,
    RENDER_PIN_FLOAT4 = 12,
    RENDER_PIN_RENDER_TARGET = 13,
    RENDER_PIN_BOOL = 14,
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderNodePin
{
public:
    KvProjectData_Core_RenderNodePin() = default;
    // A pin of the kind the context names; fatal without the pin data type.
    explicit KvProjectData_Core_RenderNodePin(const KvReflectedObjCtorContext& context);

    // One context per pin kind, in menu order; no "NONE".
    static void GetConstructContexts(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                     const KvReflectedDataType* pTargetType, void* pParentObject,
                                     const KvReflectedPrimitive* pParentMember);

    std::string m_strPinName;
    uint32_t m_eType = 0;
    const KvReflectedDataType* m_pDataType = nullptr;
    void* m_pPinData = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderNode
{
public:
    KvProjectData_Core_RenderNode() = default;
    // For the render node handler class of the given name, with its "_Input" and "_Output" layouts.
    explicit KvProjectData_Core_RenderNode(const std::string& handlerClassName);
    // "By Type": the handler class the context names.
    explicit KvProjectData_Core_RenderNode(const KvReflectedObjCtorContext& context);

    std::string m_strNodeType;
    std::string m_strDisplayName;
    const KvReflectedDataType* m_pInputNodeDataType = nullptr;
    void* m_pNodeInputData = nullptr;
    const KvReflectedDataType* m_pOutputNodeDataType = nullptr;
    void* m_pNodeOutputData = nullptr;
    KvProjectData_Core_Raw_RenderPass* m_pRenderPass = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderBuffer
{
public:
    std::string m_strName;
    uint32_t m_ulWidth = 0;
    uint32_t m_ulHeight = 0;
    tTextureFormat m_eFormat = FORMAT_RGB;
    bool m_bGetResolutionFromAppResolution = false;
    float m_fResolutionMult = 0.0f;
    bool m_bUpdatedFromCPU = false;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderBufferSet
    : public KvXRefObject<KvProjectData_Core_RenderBufferSet>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_RenderBuffer*> m_apRenderBuffer;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderBufferSetRef
{
public:
    KvProjectData_Core_RenderBufferSet* m_pBufferSet = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderPipeline
    : public KvXRefObject<KvProjectData_Core_RenderPipeline>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_RenderNode*> m_apNodes;
    std::vector<KvProjectData_Core_RenderNodePin*> m_apGlobalPins;
    std::vector<KvProjectData_Core_RenderBufferSetRef*> m_apBufferSets;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderPipeline_TopLevel
{
public:
    std::vector<KvProjectData_Core_RenderPipeline*> m_apPipelines;
    std::vector<KvProjectData_Core_RenderBufferSet*> m_apRenderBuffetSets;
    std::vector<KvProjectData_Core_Raw_RenderPass*> m_apRenderPasses;

    static const KvReflectedDataType* GetReflectedDataType();
};
