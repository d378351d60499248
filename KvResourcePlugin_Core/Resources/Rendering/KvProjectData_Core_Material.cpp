#include "projectdata/KvProjectData_Core_Material.h"

#include "projectdata/KvProjectData_Core_Texture.h"
#include "projectdata/KvSchema.h"

void KvProjectData_Core_Raw_MaterialTextureSlot::PostDeserialize()
{
    if (m_strDefaultTexture.empty() || m_pTexture)
        return;
    // Paths on the old asset drive keep only what follows their texture folder.
    const size_t textureFolder = m_strDefaultTexture.find("texture\\");
    if (m_strDefaultTexture.find("u:\\") != std::string::npos && textureFolder != std::string::npos)
        m_strDefaultTexture = m_strDefaultTexture.substr(textureFolder + std::string("texture\\").size());
    m_pTexture = KvProjectData_Core_Raw_Texture::GetExternalReference(m_strDefaultTexture.c_str());
}

KV_BEGIN_SCHEMA(KvCompiledShaderPass_Ref, ObjectConstructor)
using T = KvCompiledShaderPass_Ref;
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_RenderPass, ObjectConstructor)
using T = KvProjectData_Core_Raw_RenderPass;
const KvReflectedDataType* pPass = KvCompiledShaderPass_Ref::GetReflectedDataType();
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("Render Pass: %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
for (auto [name, member] :
     {std::pair{"m_pShader", &T::m_pShader}, std::pair{"m_pShader_AlphaTest", &T::m_pShader_AlphaTest},
      std::pair{"m_pShader_Skinned_AlphaTest", &T::m_pShader_Skinned_AlphaTest},
      std::pair{"m_pShader_Skinned", &T::m_pShader_Skinned}})
    schema.Pointer(name, member, pPass)
        .With(new KvAttribute_HideVirtualNode())
        .With(new KvAttribute_XRef())
        .PickedByName(true);
schema.Member("m_bAddParticlesToVisible", &T::m_bAddParticlesToVisible);
schema.Member("m_bDebugPrimitivesToVisible", &T::m_bDebugPrimitivesToVisible);
schema.Member("m_bLightPrimitivesToVisible", &T::m_bLightPrimitivesToVisible);
schema.Member("m_bShadowCastersToVisible", &T::m_bShadowCastersToVisible);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Shader, ObjectConstructor)
using T = KvProjectData_Core_Raw_Shader;
schema.Array("m_acShaderBin", &T::m_acShaderBin).With(new KvAttribute_HideInPropertyGrid());
schema.PointerArray("m_apShaders", &T::m_apShaders, KvCompiledShaderPass_Ref::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_MaterialTextureSlot, ObjectConstructorWithPost)
using T = KvProjectData_Core_Raw_MaterialTextureSlot;
schema.Member("m_strSlotName", &T::m_strSlotName);
schema.Member("m_strDefaultTexture", &T::m_strDefaultTexture);
schema.Pointer("m_pTexture", &T::m_pTexture, KvProjectData_Core_Raw_Texture::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(false);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_MaterialPassBinding, ObjectConstructor)
using T = KvProjectData_Core_Raw_MaterialPassBinding;
schema.TypeAttribute(new KvAttribute_NoSorting());
schema.Pointer("m_pRenderPass", &T::m_pRenderPass, KvProjectData_Core_Raw_RenderPass::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(false)
    .With(new KvAttribute_DisplayNameFromMember("Pass binding: %s"));
schema.Pointer("m_pShader", &T::m_pShader, KvCompiledShaderPass_Ref::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(false);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Material_Params, ObjectConstructor)
using T = KvProjectData_Core_Raw_Material_Params;
schema.TypeAttribute(new KvAttribute_SkipVirtualNode());
schema.Member("m_fSpecularMultiplier", &T::m_fSpecularMultiplier);
schema.Member("m_fSpecularStrength", &T::m_fSpecularStrength);
schema.Member("m_colMaterialAmbient", &T::m_colMaterialAmbient);
schema.Member("m_fAlphaTestThreshold", &T::m_fAlphaTestThreshold);
schema.Member("m_fGlobalAmbientMultiplier", &T::m_fGlobalAmbientMultiplier);
schema.Member("m_fGlobalLightmapMask", &T::m_fGlobalLightmapMask);
schema.Member("m_colRimlightColor", &T::m_colRimlightColor);
schema.Member("m_vRimParams", &T::m_vRimParams);
schema.Member("m_bAlphaTest", &T::m_bAlphaTest);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Material, ObjectConstructor)
using T = KvProjectData_Core_Raw_Material;
schema.TypeAttribute(new KvAttribute_NoSorting());
schema.IdentityName(&T::m_strName)
    .With(new KvAttribute_DisplayNameFromMember("%s"))
    .With(new KvAttribute_SetFromResourceName());
schema.IdentityGuid().With(new KvAttribute_SetFromResourceName());
schema.IdentityLocalIndex();
schema.PointerArray("m_apTextureSlots", &T::m_apTextureSlots,
                    KvProjectData_Core_Raw_MaterialTextureSlot::GetReflectedDataType());
schema.PointerArray("m_apBindings", &T::m_apBindings,
                    KvProjectData_Core_Raw_MaterialPassBinding::GetReflectedDataType());
schema.Record("m_props", &T::m_props, KvProjectData_Core_Raw_Material_Params::GetReflectedDataType());
KV_END_SCHEMA()
