#include "projectdata/KvProjectData_Core_RenderPipeline.h"

#include "Foundation/KvReport.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvSchema.h"

namespace
{
// The pin kinds the "By Type" menu offers, in menu order.
struct tPinKind
{
    const char* m_Label;
    const KvReflectedDataType* (*m_pfnDataType)();
    eRenderPinKind m_eCode;
};

const tPinKind kPinKinds[] = {
    {"Texture", &KvProjectData_Core_RenderNodePinData_Texture::GetReflectedDataType, RENDER_PIN_TEXTURE},
    {"Render Target", &KvProjectData_Core_RenderNodePinData_Texture::GetReflectedDataType,
     RENDER_PIN_RENDER_TARGET},
    {"Swap Chain", &KvProjectData_Core_RenderNodePinData_SwapChain::GetReflectedDataType,
     RENDER_PIN_SWAP_CHAIN},
    {"Shader", &KvProjectData_Core_RenderNodePinData_Shader::GetReflectedDataType, RENDER_PIN_SHADER},
    {"Float", &KvProjectData_Core_RenderNodePinData_Float::GetReflectedDataType, RENDER_PIN_FLOAT},
    {"Float2", &KvProjectData_Core_RenderNodePinData_Float2::GetReflectedDataType, RENDER_PIN_FLOAT2},
    {"Float3", &KvProjectData_Core_RenderNodePinData_Float3::GetReflectedDataType, RENDER_PIN_FLOAT3},
    {"Float4", &KvProjectData_Core_RenderNodePinData_Float4::GetReflectedDataType, RENDER_PIN_FLOAT4},
    {"Camera", &KvProjectData_Core_RenderNodePinData_Camera::GetReflectedDataType, RENDER_PIN_CAMERA},
    {"Bool", &KvProjectData_Core_RenderNodePinData_Bool::GetReflectedDataType, RENDER_PIN_BOOL},
};

// A new object of a type, or null when the type is missing or cannot be made.
void* CreateOf(const KvReflectedDataType* pType)
{
    return pType && pType->GetObjectConstructor() ? pType->GetObjectConstructor()->Create() : nullptr;
}
} // namespace

KvTextureSource* KvProjectData_Core_RenderNodePinData_Texture::EnsureTextureSourceLoaded()
{
    if (!m_pTextureSource && m_pTexture)
        m_pTextureSource = m_pTexture->EnsureTextureSourceLoaded();
    return m_pTextureSource;
}

KvProjectData_Core_RenderNodePin::KvProjectData_Core_RenderNodePin(const KvReflectedObjCtorContext& context)
{
    if (!context.m_pSourceObject)
        KvFatalReport(
            {"KvResourcePlugin_Core/api/public/projectdata/KvProjectData_Core_RenderPipeline",
             "KvProjectData_Core_RenderNodePin::KvProjectData_Core_RenderNodePin", 75},
            "Render Node constructor by context expected a valid payload, that is the pin data layout.");
    m_strPinName = context.m_strLabel;
    m_pDataType = static_cast<const KvReflectedDataType*>(context.m_pSourceObject);
    m_eType = static_cast<uint32_t>(context.m_SourceValue);
    m_pPinData = CreateOf(m_pDataType);
}

void KvProjectData_Core_RenderNodePin::GetConstructContexts(
    std::vector<KvReflectedObjCtorContext*>& outContexts, const KvReflectedDataType* pTargetType,
    void* pParentObject, const KvReflectedPrimitive* pParentMember)
{
    for (const tPinKind& kind : kPinKinds)
        outContexts.push_back(new KvReflectedObjCtorContext(
            kind.m_Label, pTargetType, pParentObject, pParentMember,
            const_cast<KvReflectedDataType*>(kind.m_pfnDataType()), kind.m_eCode));
}

KvProjectData_Core_RenderNode::KvProjectData_Core_RenderNode(const std::string& handlerClassName)
    : m_strNodeType(handlerClassName), m_strDisplayName("Render Node: " + handlerClassName)
{
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    m_pInputNodeDataType = pRegistry->FindType(KvFormatMessage("%s_Input", handlerClassName.c_str()).c_str());
    m_pOutputNodeDataType =
        pRegistry->FindType(KvFormatMessage("%s_Output", handlerClassName.c_str()).c_str());
    m_pNodeInputData = CreateOf(m_pInputNodeDataType);
    m_pNodeOutputData = CreateOf(m_pOutputNodeDataType);
}

KvProjectData_Core_RenderNode::KvProjectData_Core_RenderNode(const KvReflectedObjCtorContext& context)
    : KvProjectData_Core_RenderNode(context.m_strLabel)
{
}

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderNodePinData_Texture, ObjectConstructor)
schema.TypeAttribute(new KvAttribute_DisplayName("Texture"));
schema
    .Pointer("m_pTexture", &KvProjectData_Core_RenderNodePinData_Texture::m_pTexture,
             KvProjectData_Core_Raw_Texture::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(false);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderNodePinData_SwapChain, ObjectConstructor)
schema.TypeAttribute(new KvAttribute_DisplayName("Swap Chain"));
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderNodePinData_Camera, ObjectConstructor)
KV_END_SCHEMA()

#define KV_PIN_DATA_SCHEMA(Class, DisplayName, MemberName, Field)                                            \
    KV_BEGIN_SCHEMA(Class, ObjectConstructor)                                                                \
    schema.TypeAttribute(new KvAttribute_DisplayName(DisplayName));                                          \
    schema.Member(MemberName, &Class::Field);                                                                \
    KV_END_SCHEMA()

KV_PIN_DATA_SCHEMA(KvProjectData_Core_RenderNodePinData_Shader, "Shader", "m_strShaderRef", m_strShaderRef)
KV_PIN_DATA_SCHEMA(KvProjectData_Core_RenderNodePinData_Bool, "Bool", "m_bData", m_bData)
KV_PIN_DATA_SCHEMA(KvProjectData_Core_RenderNodePinData_Float, "Float", "m_fData", m_fData)
KV_PIN_DATA_SCHEMA(KvProjectData_Core_RenderNodePinData_Float2, "Float2", "m_vData", m_vData)
KV_PIN_DATA_SCHEMA(KvProjectData_Core_RenderNodePinData_Float3, "Float3", "m_vData", m_vData)
KV_PIN_DATA_SCHEMA(KvProjectData_Core_RenderNodePinData_Float4, "Float4", "m_vData", m_vData)

#undef KV_PIN_DATA_SCHEMA

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderNodePin, ObjectConstructor)
using T = KvProjectData_Core_RenderNodePin;
schema.TypeAttribute(new KvAttribute_DisplayName("Pin"))
    .TypeAttribute(new KvAttribute_CtorByContext("By Type", &T::GetConstructContexts, new ObjectCtor<T>()));
schema.Member("m_strPinName", &T::m_strPinName).With(new KvAttribute_DisplayNameFromMember("Pin: %s"));
schema.Presented("Name", "Members", "This is the name of the global pin.");
schema.Enum("m_eType", &T::m_eType, nullptr).With(new KvAttribute_HideInPropertyGrid());
schema.TypeRecord("m_pDataType", &T::m_pDataType)
    .With(new KvAttribute_HideInPropertyGrid())
    .With(new KvAttribute_HideVirtualNode());
schema.Dynamic("m_pPinData", "m_pDataType", &T::m_pPinData).With(new KvAttribute_HideVirtualNode());
schema.Presented("Pin Data", "Members", "");
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderNode, ObjectConstructor)
using T = KvProjectData_Core_RenderNode;
schema.TypeAttribute(new KvAttribute_DisplayName("Render Node"))
    .TypeAttribute(new KvAttribute_CtorByTypeInheritance("By Type", "KvRenderNodeHandler",
                                                         new ObjectCtor<T>()))
    .TypeAttribute(new KvAttribute_NoSorting());
schema.Member("m_strNodeType", &T::m_strNodeType).With(new KvAttribute_ReadOnly());
schema.Presented("Node Type", "Members", "This is the typename for the node handler.");
schema.Member("m_strDisplayName", &T::m_strDisplayName).With(new KvAttribute_DisplayNameFromMember("%s"));
schema.TypeRecord("m_pInputNodeDataType", &T::m_pInputNodeDataType)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_HideInPropertyGrid());
schema.Dynamic("m_pNodeInputData", "m_pInputNodeDataType", &T::m_pNodeInputData);
schema.Presented("Input Pins", "Input Pins", "");
schema.TypeRecord("m_pOutputNodeDataType", &T::m_pOutputNodeDataType)
    .With(new KvAttribute_HideInPropertyGrid())
    .With(new KvAttribute_HideVirtualNode());
schema.Dynamic("m_pNodeOutputData", "m_pOutputNodeDataType", &T::m_pNodeOutputData);
schema.Presented("Output Pins", "Output Pins", "");
schema.Pointer("m_pRenderPass", &T::m_pRenderPass, KvProjectData_Core_Raw_RenderPass::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(false);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderBuffer, ObjectConstructor)
using T = KvProjectData_Core_RenderBuffer;
schema.Member("m_strName", &T::m_strName).With(new KvAttribute_DisplayNameFromMember("RenderBuffer: %s"));
schema.Member("m_ulWidth", &T::m_ulWidth);
schema.Member("m_ulHeight", &T::m_ulHeight);
schema.Enum("m_eFormat", &T::m_eFormat, &g_Converter_TextureFormat);
schema.Member("m_bGetResolutionFromAppResolution", &T::m_bGetResolutionFromAppResolution);
schema.Member("m_fResolutionMult", &T::m_fResolutionMult);
schema.Member("m_bUpdatedFromCPU", &T::m_bUpdatedFromCPU);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderBufferSet, ObjectConstructor)
using T = KvProjectData_Core_RenderBufferSet;
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("RenderBuffer Set: %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema
    .PointerArray("m_apRenderBuffer", &T::m_apRenderBuffer,
                  KvProjectData_Core_RenderBuffer::GetReflectedDataType())
    .With(new KvAttribute_DisplayName("List of render buffers"));
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderBufferSetRef, ObjectConstructor)
using T = KvProjectData_Core_RenderBufferSetRef;
schema.Pointer("m_pBufferSet", &T::m_pBufferSet, KvProjectData_Core_RenderBufferSet::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .PickedByName(false)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_DisplayNameFromMember("RenderBuffer Set: %s"));
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderPipeline, ObjectConstructor)
using T = KvProjectData_Core_RenderPipeline;
schema.TypeAttribute(new KvAttribute_DisplayName("Render Pipeline"))
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderPipeline"));
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("Pipeline: %s"));
schema.Presented("Name", "Members", "This is the name of the render pipeline.");
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.PointerArray("m_apNodes", &T::m_apNodes, KvProjectData_Core_RenderNode::GetReflectedDataType());
schema.Presented("Nodes", "Nodes", "");
schema.PointerArray("m_apGlobalPins", &T::m_apGlobalPins,
                    KvProjectData_Core_RenderNodePin::GetReflectedDataType());
schema.Presented("Global Pins", "Global Pins", "");
schema.PointerArray("m_apBufferSets", &T::m_apBufferSets,
                    KvProjectData_Core_RenderBufferSetRef::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderPipeline_TopLevel, ObjectConstructor)
using T = KvProjectData_Core_RenderPipeline_TopLevel;
schema.PointerArray("m_apPipelines", &T::m_apPipelines,
                    KvProjectData_Core_RenderPipeline::GetReflectedDataType());
schema.Presented("Pipelines", "Members", "");
schema.PointerArray("m_apRenderBuffetSets", &T::m_apRenderBuffetSets,
                    KvProjectData_Core_RenderBufferSet::GetReflectedDataType());
schema.Presented("Render Buffer Sets", "Members", "");
schema.PointerArray("m_apRenderPasses", &T::m_apRenderPasses,
                    KvProjectData_Core_Raw_RenderPass::GetReflectedDataType());
schema.Presented("Render Passes", "Members", "");
KV_END_SCHEMA()
