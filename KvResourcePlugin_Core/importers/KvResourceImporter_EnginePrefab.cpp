#include "importers/KvResourceImporter_EnginePrefab.h"

#include "Foundation/KvReport.h"
#include "KvResourcePlugin_Core_Resources.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvEnginePrefabValues.h"
#include "importers/KvGameObjectFields.h"
#include "importers/KvImportBudget.h"
#include "importers/KvImporterSupport.h"
#include "importers/KvXmlNumbers.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "projectdata/KvProjectData_Core_Texture.h"

#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

namespace
{
using Node = rapidxml::xml_node<char>;
using Prefab = KvProjectData_Core_Raw_ActorPrefab;
using Entry = KvProjectData_Core_Raw_ActorEntry;
using Component = KvProjectData_Core_Raw_ActorComponent;
using Code = KvProjectData_Core_Raw_ActorEntryCode;
using Texture = KvProjectData_Core_Raw_Texture;
namespace Values = KvEnginePrefabValues;

// The game types the import gives its actors, found by name.
constexpr const char* kLightShape = "KvActorComponent_LightShape";
constexpr const char* kMeshShape = "KvActorComponent_MeshShape";
constexpr const char* kParticleShape = "KvActorComponent_ParticleShape";
constexpr const char* kObject3D = "KvActorComponent_Object3D";
constexpr const char* kLightingPreset = "KvActorCode_LightingPreset";
constexpr const char* kMoodSelector = "MqActorCode_MoodSelector";
constexpr const char* kTag = "MqProjectData_Tag";
// The light type of a spot light.
constexpr int32_t kSpotLight = 1;

enum class eShapeClass
{
    OTHER,
    STATIC_MESH,
    ENTITY,
    PARTICLE_GROUP,
    DYN_LIGHT,
    SCENE_LIGHTING,
    PREFAB,
};

// Shape classes compare exactly; a missing class matches none.
eShapeClass ClassOf(const char* name)
{
    static constexpr std::pair<std::string_view, eShapeClass> kClasses[] = {
        {"StaticMeshShape", eShapeClass::STATIC_MESH},       {"EntityShape", eShapeClass::ENTITY},
        {"ParticleGroupShape", eShapeClass::PARTICLE_GROUP}, {"DynLightShape", eShapeClass::DYN_LIGHT},
        {"KvSceneLighting", eShapeClass::SCENE_LIGHTING},    {"PrefabShape", eShapeClass::PREFAB}};
    for (const auto& [className, shapeClass] : kClasses)
        if (name && className == name)
            return shapeClass;
    return eShapeClass::OTHER;
}

// A float setting of lights and scene lightings: the property, the member of the class's game
// object that it sets, and the value of a property without a "value".
struct tFloatProperty
{
    eShapeClass m_eClass;
    std::string_view m_Property;
    const char* m_Member;
    float m_fDefault;
};
constexpr tFloatProperty kFloatProperties[] = {
    {eShapeClass::DYN_LIGHT, "Multiplier", "m_fMultiplier", 1.0f},
    {eShapeClass::DYN_LIGHT, "Radius", "m_fRadius", 0.0f},
    {eShapeClass::DYN_LIGHT, "SpotAngle", "m_fSpotAngle", 45.0f},
    {eShapeClass::SCENE_LIGHTING, "Multiplier", "m_fMultiplier", 1.0f},
    {eShapeClass::SCENE_LIGHTING, "FogStart", "m_fFogStart", 0.0f},
    {eShapeClass::SCENE_LIGHTING, "FogEnd", "m_fFogEnd", 5000.0f},
    {eShapeClass::SCENE_LIGHTING, "AmbientGradientStart", "m_fAmbientGradientStart", 0.0f},
    {eShapeClass::SCENE_LIGHTING, "AmbientGradientEnd", "m_fAmbientGradientEnd", 5000.0f},
    {eShapeClass::SCENE_LIGHTING, "Saturation", "m_fSaturation", 1.0f},
    {eShapeClass::SCENE_LIGHTING, "Brightness", "m_fBrightness", 0.0f},
    {eShapeClass::SCENE_LIGHTING, "Contrast", "m_fContrast", 1.0f},
};

// What a code or component record and its game object take on the heap.
template <class Record>
uint64_t RecordBytes(const Record& record)
{
    return sizeof(Record) + KvImportBudget::kHeapOverhead +
           (record.m_pData ? record.m_pDataType->GetSize() + KvImportBudget::kHeapOverhead : 0);
}

void DestroyPlaceholders(std::vector<KvTempXRef>& placeholders, size_t first)
{
    for (size_t index = first; index < placeholders.size(); ++index)
        KvReflectionInterface::GetInstance()->DestroyObject(placeholders[index].second,
                                                            placeholders[index].first);
    placeholders.resize(first);
}

// Releases the placeholders an import made unless the import hands its prefab over: nothing
// refers to them then.
class PendingScope
{
public:
    explicit PendingScope(std::vector<KvTempXRef>& pending) : m_rPending(pending), m_uiFirst(pending.size())
    {
    }
    ~PendingScope()
    {
        if (!m_bCommitted)
            DestroyPlaceholders(m_rPending, m_uiFirst);
    }
    PendingScope(const PendingScope&) = delete;
    PendingScope& operator=(const PendingScope&) = delete;

    void Commit() { m_bCommitted = true; }

private:
    std::vector<KvTempXRef>& m_rPending;
    size_t m_uiFirst;
    bool m_bCommitted = false;
};

// One shape being imported: the actor made for it, its shape component and, for a scene
// lighting, its lighting preset, until the prefab keeps them or they are released with this
// object. What the prefab keeps is charged when it is kept, what a shape only holds while it is
// read (one at each level of nesting) is not; placeholders are charged as they are made.
class ShapeImport
{
public:
    ShapeImport(eShapeClass shapeClass, std::vector<KvTempXRef>& pending, KvImportBudget& budget)
        : m_eClass(shapeClass), m_rPending(pending), m_rBudget(budget)
    {
        if (m_eClass == eShapeClass::DYN_LIGHT)
        {
            m_ShapeComponent->ChooseClass(kLightShape);
            m_pSettingsType = m_ShapeComponent->m_pDataType;
            m_pSettings = m_ShapeComponent->m_pData;
            m_bKept = true;
        }
        if (m_eClass == eShapeClass::SCENE_LIGHTING)
        {
            KvImportedData<Code>& lighting = m_Lighting.emplace();
            lighting->ChooseClass(kLightingPreset);
            m_pSettingsType = lighting->m_pDataType;
            m_pSettings = lighting->m_pData;
        }
    }

    // False once the budget is spent.
    bool ReadProperty(const Node& property)
    {
        static constexpr std::array<std::string_view, 2> kAttributes = {"name", "value"};
        const KvXmlAttributes attributes(&property, kAttributes);
        const std::string_view name = attributes[0] ? attributes[0] : "";
        const char* value = attributes[1];
        // Text properties without a value read as empty.
        const char* text = value ? value : "";
        KvTransformSpace& local = *m_Entry->m_pTransform->m_LocalTransform;
        if (name == "ShapeName")
        {
            if (value)
                m_Entry->m_strName = value;
        }
        else if (name == "Filename" && m_eClass == eShapeClass::PREFAB)
            return ReadNestedPrefab(text);
        else if (name == "Position")
            Values::ReadVector(value, local.m_vPosition);
        else if (name == "Orientation")
            Values::ReadVector(value, local.m_vYPR);
        else if (name == "Scaling")
            ReadScaling(value, local);
        else if ((name == "MeshFileName" && m_eClass == eShapeClass::STATIC_MESH) ||
                 (name == "ModelFile" && m_eClass == eShapeClass::ENTITY))
            return ReadMesh(text);
        else if (name == "EffectFile" && m_eClass == eShapeClass::PARTICLE_GROUP)
            return ReadParticles(text);
        else if (name == "LightColor" && m_pSettings)
        {
            if (KvColor* pColor = Setting<KvColor>("m_colColor"))
                Values::ReadColor(value, *pColor);
        }
        else if (name == "LightType" && m_eClass == eShapeClass::DYN_LIGHT)
        {
            int32_t* pType = Setting<int32_t>("m_slLightType");
            if (pType && std::strcmp(text, "Spotlight") == 0)
                *pType = kSpotLight;
        }
        else if (name == "Skybox" && m_eClass == eShapeClass::SCENE_LIGHTING)
            return ReadSky(text);
        else
            ReadFloat(name, value);
        return true;
    }

    // The orientation in the transforms' convention, then the world transform.
    void FinishTransform()
    {
        KvTransformSpace& local = *m_Entry->m_pTransform->m_LocalTransform;
        local.m_vYPR = Values::CanonicalOrientation(local.m_vYPR);
        m_Entry->m_pTransform->CalculateWorldFromLocal();
    }

    // Hands the actor to the prefab when it is one the editor keeps; false once the budget is
    // spent.
    bool Keep(Prefab& prefab)
    {
        if (!m_bKept && !m_Lighting)
            return true;
        if (!ChargeEntry())
            return false;
        if (m_bKept)
        {
            KvImportedData<Component> object3D;
            object3D->ChooseClass(kObject3D);
            if (!m_rBudget.Charge(RecordBytes(*m_ShapeComponent) + RecordBytes(*object3D)) ||
                !m_rBudget.ChargeElement<Component*>() || !m_rBudget.ChargeElement<Component*>())
                return false;
            HandOver(m_ShapeComponent, m_Entry->m_apComponents);
            HandOver(object3D, m_Entry->m_apComponents);
        }
        else
        {
            if (!m_rBudget.Charge(RecordBytes(**m_Lighting)) || !m_rBudget.ChargeElement<Code*>())
                return false;
            if (int32_t* pNotDefault = Setting<int32_t>("m_slNotDefault"))
                *pNotDefault = m_Entry->m_strName == "DEFAULT" ? 0 : 1;
            HandOver(*m_Lighting, m_Entry->m_apActorCode);
        }
        HandOver(m_Entry, prefab.m_apActors);
        return true;
    }

private:
    template <class T>
    static void HandOver(KvImportedData<T>& object, std::vector<T*>& owner)
    {
        owner.push_back(&*object);
        object.Release();
    }

    // A setting of the light's or the lighting's game object, or null.
    template <class T>
    T* Setting(const char* member) const
    {
        return KvGameObjectFields::Find<T>(m_pSettingsType, m_pSettings, member);
    }

    // The actor with its transform and pawn, its name and its place in the prefab.
    bool ChargeEntry()
    {
        return m_rBudget.ChargeObject<Entry>() &&
               m_rBudget.ChargeObject<KvProjectData_Core_Raw_KvObjectTransform>() &&
               m_rBudget.Charge(2 * (sizeof(KvTransformSpace) + KvImportBudget::kHeapOverhead)) &&
               m_rBudget.ChargeObject<KvProjectData_Core_Raw_EditorPawn>() &&
               m_rBudget.ChargeElement<Entry*>() && m_rBudget.ChargeText(m_Entry->m_strName.size());
    }

    // A placeholder of a data class, named and pending; null once the budget is spent.
    template <class T>
    T* MakePlaceholder(std::string name)
    {
        if (!m_rBudget.ChargeObject<T>() || !m_rBudget.ChargeElement<KvTempXRef>() ||
            !m_rBudget.ChargeText(name.size()))
            return nullptr;
        T* pPlaceholder = KvCreateData<T>();
        m_rPending.emplace_back(pPlaceholder, T::GetReflectedDataType());
        pPlaceholder->m_strName = std::move(name);
        return pPlaceholder;
    }

    // A tag of the game's tag type, named and pending (none without the type); false once the
    // budget is spent.
    bool MakeTag(const KvReflectedDataType* pType, const char* id, void*& outTag)
    {
        outTag = nullptr;
        if (!pType || !pType->GetObjectConstructor())
            return true;
        if (!m_rBudget.Charge(pType->GetSize() + KvImportBudget::kHeapOverhead) ||
            !m_rBudget.ChargeElement<KvTempXRef>() || !m_rBudget.ChargeText(std::strlen(id)))
            return false;
        outTag = pType->GetObjectConstructor()->Create();
        m_rPending.emplace_back(outTag, pType);
        if (std::string* pName = KvGameObjectFields::Find<std::string>(pType, outTag, "m_strName"))
            *pName = id;
        return true;
    }

    void ReadScaling(const char* value, KvTransformSpace& local)
    {
        KvVector3& scale = local.m_vScale;
        Values::ReadVector(value, scale);
        if (scale.x == scale.y && scale.y == scale.z)
        {
            local.m_fUniformHierarchyScale = scale.x;
            scale = {1.0f, 1.0f, 1.0f};
        }
        if (float* pRadius = m_eClass == eShapeClass::DYN_LIGHT ? Setting<float>("m_fRadius") : nullptr)
            *pRadius *= (scale.x + scale.y + scale.z) / 3.0f;
    }

    void ReadFloat(std::string_view name, const char* value)
    {
        for (const tFloatProperty& property : kFloatProperties)
        {
            if (property.m_eClass != m_eClass || property.m_Property != name)
                continue;
            if (float* pSetting = Setting<float>(property.m_Member))
                *pSetting = value ? KvXmlNumbers::ReadFloat(value) : property.m_fDefault;
            return;
        }
    }

    bool ReadMesh(const char* path)
    {
        auto* pMesh = MakePlaceholder<KvProjectData_Core_Raw_RenderShapeMesh>(Values::NormalisePath(path));
        if (!pMesh)
            return false;
        m_Entry->m_pDefaultEditorShape = pMesh;
        m_ShapeComponent->ChooseClass(kMeshShape);
        m_bKept = true;
        return true;
    }

    bool ReadParticles(const char* path)
    {
        auto* pParticles =
            MakePlaceholder<KvProjectData_Core_Raw_ParticleSystem>(Values::NormalisePath(path));
        if (!pParticles)
            return false;
        m_Entry->m_pDefaultParticleShape = pParticles;
        m_ShapeComponent->ChooseClass(kParticleShape);
        m_bKept = true;
        return true;
    }

    // A prefab path holding "mood\" names one prefab per mood instead of itself.
    bool ReadNestedPrefab(const char* path)
    {
        const std::string name = Values::NormalisePath(path);
        Prefab* pPrefab = MakePlaceholder<Prefab>(name);
        if (!pPrefab)
            return false;
        m_Entry->m_pPrefab = pPrefab;
        m_bKept = true;
        const size_t folderLength = Values::kMoodFolder.size();
        if (name.size() < folderLength || name.find(Values::kMoodFolder) == std::string::npos)
            return true;
        m_Entry->m_pPrefab = nullptr;
        const std::string tail = name.substr(folderLength);
        const KvReflectedDataType* pTagType = KvReflectionInterface::GetInstance()->FindType(kTag);
        for (const Values::tMood& mood : Values::kMoods)
        {
            // The selectors are the actor's only code, so they join it at once.
            if (!m_rBudget.ChargeObject<Code>() || !m_rBudget.ChargeElement<Code*>())
                return false;
            KvImportedData<Code> selector;
            selector->ChooseClass(kMoodSelector);
            if (!m_rBudget.Charge(RecordBytes(*selector)))
                return false;
            Code& code = *selector;
            HandOver(selector, m_Entry->m_apActorCode);
            Prefab* pMoodPrefab = MakePlaceholder<Prefab>(mood.m_Folder + tail);
            if (!pMoodPrefab)
                return false;
            KvGameObjectFields::SetReference(code.m_pDataType, code.m_pData, "m_pPrefab",
                                             Prefab::GetReflectedDataType(), pMoodPrefab);
            void* pTag = nullptr;
            if (!MakeTag(pTagType, mood.m_Tag, pTag))
                return false;
            KvGameObjectFields::SetReference(code.m_pDataType, code.m_pData, "m_pTag", pTagType, pTag);
        }
        return true;
    }

    bool ReadSky(const char* path)
    {
        const std::pair<const char*, std::string> textures[] = {
            {"m_pSkybox", Values::SkyTextureName(path)},
            {"m_pFogGradient", Values::kFogGradientTexture},
            {"m_pAmbientGradient", Values::kAmbientGradientTexture}};
        for (const auto& [member, name] : textures)
        {
            Texture* pTexture = MakePlaceholder<Texture>(name);
            if (!pTexture)
                return false;
            KvGameObjectFields::SetReference(m_pSettingsType, m_pSettings, member,
                                             Texture::GetReflectedDataType(), pTexture);
        }
        return true;
    }

    eShapeClass m_eClass;
    std::vector<KvTempXRef>& m_rPending;
    KvImportBudget& m_rBudget;
    KvImportedData<Component> m_ShapeComponent;
    std::optional<KvImportedData<Code>> m_Lighting;
    KvImportedData<Entry> m_Entry;
    // The game object of a light or a scene lighting, which their settings go to.
    const KvReflectedDataType* m_pSettingsType = nullptr;
    void* m_pSettings = nullptr;
    bool m_bKept = false;
};
} // namespace

KvResourceImporter_EnginePrefab::~KvResourceImporter_EnginePrefab()
{
    DestroyPlaceholders(m_aPendingXRefs, 0);
}

const KvResourceDescriptor* KvResourceImporter_EnginePrefab::GetResourceType() const
{
    return KvResourcePlugin_Core_ActorPrefab::GetStaticDescriptor();
}

void* KvResourceImporter_EnginePrefab::ConvertToRaw(void*&, KvResource*, KvIOStream* pSource, void* existing)
{
    KvImportBudget budget(KvRemainingBytes(*pSource));
    KvXmlDocument document;
    if (!document.Load(*pSource))
        return nullptr;
    const Node* pRoot = document.GetDocument().first_node();
    if (!pRoot)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Empty prefab file '%s'", pSource->GetName());
        return existing;
    }
    PendingScope pending(m_aPendingXRefs);
    KvImportedData<Prefab> prefab;
    bool bWithinBudget = budget.Charge(document.GetParsedBytes());
    for (const Node* pShape = pRoot->first_node("shape"); pShape && bWithinBudget;
         pShape = pShape->next_sibling("shape"))
        bWithinBudget = ProcessShapeNode(*pShape, *prefab, budget);
    if (!bWithinBudget)
    {
        budget.ReportSpent(KV_REPORT_SITE, pSource->GetName());
        return nullptr;
    }
    pending.Commit();
    return prefab.Release();
}

bool KvResourceImporter_EnginePrefab::ProcessShapeNode(const Node& shape, Prefab& prefab,
                                                       KvImportBudget& budget)
{
    {
        ShapeImport import(ClassOf(KvXmlAttributeText(&shape, "class")), m_aPendingXRefs, budget);
        for (const Node* pProperty = shape.first_node("property"); pProperty;
             pProperty = pProperty->next_sibling("property"))
            if (!import.ReadProperty(*pProperty))
                return false;
        import.FinishTransform();
        if (!import.Keep(prefab))
            return false;
    }
    for (const Node* pChild = shape.first_node("shape"); pChild; pChild = pChild->next_sibling("shape"))
        if (!ProcessShapeNode(*pChild, prefab, budget))
            return false;
    return true;
}

void KvResourceImporter_EnginePrefab::AppendTempXRef(std::vector<KvTempXRef>& outReferences)
{
    outReferences.insert(outReferences.end(), m_aPendingXRefs.begin(), m_aPendingXRefs.end());
    m_aPendingXRefs.clear();
}
