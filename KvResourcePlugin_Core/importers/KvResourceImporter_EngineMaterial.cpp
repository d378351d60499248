#include "importers/KvResourceImporter_EngineMaterial.h"

#include "Foundation/KvReport.h"
#include "KvResourcePlugin_Core_Resources.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImportBudget.h"
#include "importers/KvImporterSupport.h"
#include "importers/KvXmlNumbers.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "resources/KvResource.h"
#include "resources/KvSourceProbe.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_map>

namespace
{
using Node = rapidxml::xml_node<char>;
using Mesh = KvProjectData_Core_Raw_Mesh;

// Resource names of files kept beside a mesh's data, which lose their extension.
constexpr std::string_view kMaterialsFolder = "_data\\materials";
// Texture paths keep only what follows this folder.
constexpr std::string_view kTexturesFolder = "textures\\";
constexpr float kLightmappedSpecularFactor = 0.3f;

// The texture slots a material file sets, each from its attribute.
struct tTextureSlotSource
{
    std::string_view m_SlotName;
    const char* m_szAttribute;
};
constexpr tTextureSlotSource kTextureSlots[] = {
    {"diffuse", "diffuse"}, {"normal", "normalmap"}, {"specular", "specularmap"}};

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// Empty when the node or the attribute is missing.
std::string_view TextOf(const Node* pNode, const char* attribute)
{
    const char* text = KvXmlAttributeText(pNode, attribute);
    return text ? text : "";
}

float FloatOf(const Node& node, const char* attribute, float fallback)
{
    const char* text = KvXmlAttributeText(&node, attribute);
    return text ? KvXmlNumbers::ReadFloat(text) : fallback;
}

// "Data\\Textures\\Rock_D.dds" -> "rock_d": lower case, below the textures folder, no extension.
std::string NormaliseTexturePath(std::string_view path)
{
    std::string normal = LowerCase(path);
    if (const size_t folder = normal.find(kTexturesFolder); folder != std::string::npos)
        normal.erase(0, folder + kTexturesFolder.size());
    if (const size_t dot = normal.rfind('.'); dot != std::string::npos)
        normal.erase(dot);
    return normal;
}

// Clamped to [0, 1] (NaN as 0), scaled to 255 and truncated.
uint8_t ColourChannel(float value)
{
    const float clamped = value > 0.0f ? std::min(value, 1.0f) : 0.0f;
    return static_cast<uint8_t>(clamped * 255.0f);
}

KvColor ColourOf(const float (&values)[4])
{
    return {ColourChannel(values[0]), ColourChannel(values[1]), ColourChannel(values[2]),
            ColourChannel(values[3])};
}

// One "key=a,b,c,d" setting; components not given are 0, keys not known and settings without
// "=" set nothing.
void ApplySetting(std::string_view setting, KvProjectData_Core_Raw_Material_Params& params)
{
    const size_t equals = setting.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view key = setting.substr(0, equals);
    const std::string value(setting.substr(equals + 1));
    float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::sscanf(value.c_str(), "%f,%f,%f,%f", &values[0], &values[1], &values[2], &values[3]);
    if (key == "materialambient")
        params.m_colMaterialAmbient = ColourOf(values);
    else if (key == "globalambientmultiplier")
        params.m_fGlobalAmbientMultiplier = values[0];
    else if (key == "rimlightparam")
        params.m_vRimParams = {values[0], values[1], values[2], values[3]};
    else if (key == "rimlightcolor")
        params.m_colRimlightColor = ColourOf(values);
    else if (key == "globallightmapmask")
        params.m_fGlobalLightmapMask = values[0];
}

// Settings separated by ";".
void ApplyParamString(std::string_view text, KvProjectData_Core_Raw_Material_Params& params)
{
    for (size_t start = 0; start <= text.size();)
    {
        const size_t end = std::min(text.find(';', start), text.size());
        ApplySetting(text.substr(start, end - start), params);
        start = end + 1;
    }
}

// The first material entry of each name, so that a file of many elements costs one look-up each.
using MaterialsByName = std::unordered_map<std::string_view, KvProjectData_Core_Raw_MaterialInfo*>;
MaterialsByName IndexMaterials(Mesh& mesh)
{
    MaterialsByName materials;
    for (KvProjectData_Core_Raw_MaterialInfo& info : mesh.m_aMaterials)
        materials.emplace(info.m_strName, &info);
    return materials;
}

// The settings of one "Material" element; false once the budget is spent.
bool ApplyMaterial(const Node& element, KvProjectData_Core_Raw_Material& material, KvImportBudget& budget)
{
    KvProjectData_Core_Raw_Material_Params& params = material.m_props;
    const std::string_view paramString = TextOf(element.first_node("Shader"), "paramstring");
    if (!paramString.empty())
        ApplyParamString(paramString, params);
    for (KvProjectData_Core_Raw_MaterialTextureSlot* pSlot : material.m_apTextureSlots)
    {
        const auto source = std::find_if(std::begin(kTextureSlots), std::end(kTextureSlots),
                                         [&](const tTextureSlotSource& slot)
                                         { return pSlot && pSlot->m_strSlotName == slot.m_SlotName; });
        if (source == std::end(kTextureSlots))
            continue;
        std::string texture = NormaliseTexturePath(TextOf(&element, source->m_szAttribute));
        if (!budget.ChargeText(texture.size()))
            return false;
        pSlot->m_pTexture = nullptr;
        pSlot->m_strDefaultTexture = std::move(texture);
    }
    const float specularMultiplier = FloatOf(element, "specmul", 0.0f);
    const bool bLightmapped = TextOf(&element, "Lighting") == "Lightmapping";
    params.m_fSpecularMultiplier =
        bLightmapped ? specularMultiplier * kLightmappedSpecularFactor : specularMultiplier;
    params.m_fSpecularStrength = FloatOf(element, "specexp", 1.0f);
    params.m_fAlphaTestThreshold = FloatOf(element, "alphathreshold", 0.5f);
    params.m_bAlphaTest = TextOf(&element, "transparency") == "colorkey";
    return true;
}
} // namespace

const KvResourceDescriptor* KvResourceImporter_EngineMaterial::GetResourceType() const
{
    return KvResourcePlugin_Core_Mesh::GetStaticDescriptor();
}

eSourceRecognition KvResourceImporter_EngineMaterial::RecognizeSource(const KvSourceProbe& source) const
{
    const Node* pRoot = source.GetXmlRoot();
    return pRoot && pRoot->first_node("Materials") ? SOURCE_RECOGNISED : SOURCE_NOT_TAKEN;
}

bool KvResourceImporter_EngineMaterial::ConvertResourceName(std::string& name)
{
    if (name.find(kMaterialsFolder) == std::string::npos)
        return false;
    std::string original = name;
    if (const size_t dot = name.rfind('.'); dot != std::string::npos)
        name.erase(dot);
    m_OriginalNames[name] = std::move(original);
    return true;
}

std::string KvResourceImporter_EngineMaterial::GetOriginalFileName(const std::string& name)
{
    const auto found = m_OriginalNames.find(name);
    return found == m_OriginalNames.end() ? std::string() : found->second;
}

void KvResourceImporter_EngineMaterial::GetMinimumTimeStampFile(std::string& outPath) const
{
    outPath = "minstamp_materials.txt";
}

void* KvResourceImporter_EngineMaterial::ConvertToRaw(void*&, KvResource* pResource, KvIOStream* pSource,
                                                      void* existing)
{
    if (!existing)
        return nullptr;
    KvImportBudget budget(KvRemainingBytes(*pSource));
    KvXmlDocument document;
    if (!document.Load(*pSource))
        return nullptr;
    const Node* pRoot = document.GetDocument().first_node();
    if (!pRoot)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Empty material file '%s'", pSource->GetName());
        return existing;
    }
    const Node* pMaterials = pRoot->first_node("Materials");
    if (!pMaterials)
        return existing;
    // The mesh given stays as it is: the settings go into a copy, which the host takes.
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    const KvReflectedDataType* pMeshType = Mesh::GetReflectedDataType();
    KvImportedData<Mesh> mesh(static_cast<Mesh*>(pRegistry->CloneObject(pMeshType, existing)));
    pRegistry->NotifyChanged(pMeshType, &*mesh, nullptr);
    if (!budget.Charge(document.GetParsedBytes()))
    {
        budget.ReportSpent(KV_REPORT_SITE, pSource->GetName());
        return nullptr;
    }
    const MaterialsByName materials = IndexMaterials(*mesh);
    for (const Node* pMaterial = pMaterials->first_node("Material"); pMaterial;
         pMaterial = pMaterial->next_sibling("Material"))
    {
        const std::string fullName = pResource->GetName() + "\\" + LowerCase(TextOf(pMaterial, "name"));
        const auto found = materials.find(fullName);
        if (found == materials.end() || !found->second->m_pDefaultMaterial)
            continue;
        if (!ApplyMaterial(*pMaterial, *found->second->m_pDefaultMaterial, budget))
        {
            budget.ReportSpent(KV_REPORT_SITE, pSource->GetName());
            return nullptr;
        }
    }
    return mesh.Release();
}
