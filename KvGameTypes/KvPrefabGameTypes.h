#pragma once

#include "Foundation/KvColor.h"
#include "Foundation/KvGuid.h"
#include "KvGameTypes.h"

#include <cstdint>
#include <string>

// The components, actor codes and tag that the engine prefab import gives the actors it makes.
// The plug-in creates them by name and writes their members by name, so the member names below
// are the contract between the two modules.

class KvProjectData_Core_Raw_ActorPrefab;
class KvProjectData_Core_Raw_Texture;

// A dynamic light; its radius is in the actor's units.
class KvActorComponent_LightShape : public KvActorComponentCode
{
    KV_DECLARE_TYPED_CLASS(KvActorComponent_LightShape, KvActorComponentCode)

public:
    static constexpr int32_t kSpotLight = 1;

    // Draws its reach as a sphere in its colour.
    void OnDrawDebug(KvEditorPawn* pPawn, uint32_t flags) const override;

    // 0 for a point light.
    int32_t m_slLightType = 0;
    float m_fSpotAngle = 45.0f;
    KvColor m_colColor{255, 255, 255, 255};
    float m_fMultiplier = 1.0f;
    float m_fRadius = 0.0f;
};

// Marks an actor as drawn by its default render shape.
class KvActorComponent_MeshShape : public KvActorComponentCode
{
    KV_DECLARE_TYPED_CLASS(KvActorComponent_MeshShape, KvActorComponentCode)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}
};

// Marks an actor as showing its default particle system.
class KvActorComponent_ParticleShape : public KvActorComponentCode
{
    KV_DECLARE_TYPED_CLASS(KvActorComponent_ParticleShape, KvActorComponentCode)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}
};

// Places an actor in the run-time scene at its transform.
class KvActorComponent_Object3D : public KvActorComponentCode
{
    KV_DECLARE_TYPED_CLASS(KvActorComponent_Object3D, KvActorComponentCode)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}
};

// The scene's lighting, fog and colour grading; distances in the scene's units.
class KvActorCode_LightingPreset : public KvActorCode
{
    KV_DECLARE_TYPED_CLASS(KvActorCode_LightingPreset, KvActorCode)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}

    // 0 for the level's default preset, 1 for any other.
    int32_t m_slNotDefault = 1;
    KvColor m_colColor{255, 255, 255, 255};
    float m_fMultiplier = 1.0f;
    float m_fAmbientGradientStart = 0.0f;
    float m_fAmbientGradientEnd = 5000.0f;
    float m_fFogStart = 0.0f;
    float m_fFogEnd = 5000.0f;
    float m_fSaturation = 1.0f;
    float m_fBrightness = 0.0f;
    float m_fContrast = 1.0f;
    // Cross-references: textures of the plug-in's texture type.
    KvProjectData_Core_Raw_Texture* m_pSkybox = nullptr;
    KvProjectData_Core_Raw_Texture* m_pFogGradient = nullptr;
    KvProjectData_Core_Raw_Texture* m_pAmbientGradient = nullptr;
};

class MqProjectData_Tag;

// Instances its prefab while the level's mood carries its tag.
class MqActorCode_MoodSelector : public KvActorCode
{
    KV_DECLARE_TYPED_CLASS(MqActorCode_MoodSelector, KvActorCode)

public:
    void OnDrawDebug(KvEditorPawn*, uint32_t) const override {}

    // Cross-references.
    MqProjectData_Tag* m_pTag = nullptr;
    KvProjectData_Core_Raw_ActorPrefab* m_pPrefab = nullptr;
};

// A name the game's data is labelled with; referred to by identity, and a live object of its
// type while it exists, as every cross-referenced object is.
class MqProjectData_Tag
{
public:
    MqProjectData_Tag();
    ~MqProjectData_Tag();

    MqProjectData_Tag(const MqProjectData_Tag&) = delete;
    MqProjectData_Tag& operator=(const MqProjectData_Tag&) = delete;

    std::string m_strName;
    KvGuid m_XRefGUID;

    static const KvReflectedDataType* GetReflectedDataType();
};

// Declares the types above with the reflection interface.
void KvDeclarePrefabGameTypes();
