#pragma once

#include "Foundation/KvColor.h"
#include "KvResourcePlugin_CoreExport.h"
#include "math/KvVector.h"
#include "projectdata/KvXRefObject.h"
#include "reflection/KvReflectedObjCtorContext.h"

#include <cstdint>
#include <string>
#include <vector>

class KvEditorPawnCallbackHandler;
class KvProjectData_Core_Raw_EditorPawn;
class KvReflectedPrimitive;

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioSample
    : public KvXRefObject<KvProjectData_Core_Raw_AudioSample>
{
public:
    std::string m_strName;
    void* m_pRunResource = nullptr;
    void* m_pPayloadData = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The sample's bytes as imported.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioSample_Payload
{
public:
    virtual ~KvProjectData_Core_Raw_AudioSample_Payload() = default;

    std::vector<uint8_t> m_aData;

    static const KvReflectedDataType* GetReflectedDataType();
};

// A node of the volume hierarchy: final volume and priority multiply down the tree.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioVolumeGroup
    : public KvXRefObject<KvProjectData_Core_Raw_AudioVolumeGroup>
{
public:
    // The group's own volume times its ancestors'; 0 when this group is muted, 1 for null.
    static float GetFinalVolume(const KvProjectData_Core_Raw_AudioVolumeGroup* pGroup);
    // The group's own priority factor times its ancestors'; 1 for null.
    static float GetFinalPriority(const KvProjectData_Core_Raw_AudioVolumeGroup* pGroup);
    float GetEffectiveVolume() const;
    // Priority over 100 as a factor; 100 and more count as 1.
    float GetEffectivePriority() const;
    // Whether the group is the other one or lies below it; a chain that comes back to this
    // group is fatal, one that loops elsewhere ends the walk.
    bool IsAffectedByChangeIn(const KvProjectData_Core_Raw_AudioVolumeGroup* pOther) const;

    static void OnParentChanged(const KvReflectedDataType* pParentType, void* pParent,
                                const KvReflectedPrimitive* pMember, void* pGroup);

    std::string m_strName = "[UNNAMED]";
    float m_fVolumeConstant = 1.0f;
    float m_fVolumeUserMultiplier = 1.0f;
    float m_fVolumeMultiplier = 1.0f;
    uint8_t m_ucPriority = 100;
    bool m_bAffectedByEffects = false;
    KvProjectData_Core_Raw_AudioVolumeGroup* m_pParentGroup = nullptr;
    std::vector<KvProjectData_Core_Raw_AudioVolumeGroup*> m_apChildren;
    bool m_bMuted = false;

    static const KvReflectedDataType* GetReflectedDataType();
};

// One sample with its pitch, volume, radii and random ranges.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioSoundVariation
    : public KvXRefObject<KvProjectData_Core_Raw_AudioSoundVariation>
{
public:
    KvProjectData_Core_Raw_AudioSoundVariation() { SetDefaults(); }
    // "By Sample": the picked sample, or none for "NONE".
    explicit KvProjectData_Core_Raw_AudioSoundVariation(const KvReflectedObjCtorContext& context);

    // The pitch, moved by a random amount within the variation when there is one.
    float GetRandomPitch() const;
    float GetRandomVolume() const;

    static void GetDisplayName(std::string& outName, const KvReflectedDataType* pType, const void* pObject);
    static void GetConstructContexts(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                     const KvReflectedDataType* pTargetType, void* pParentObject,
                                     const KvReflectedPrimitive* pParentMember);

    std::string m_strName;
    class KvProjectData_Core_Raw_AudioSample* m_pSample = nullptr;
    float m_fPitch = 1.0f;
    float m_fPitchVariation = 0.0f;
    float m_fVolume = 1.0f;
    float m_fVolumeVariation = 0.0f;
    float m_fZeroRadius = 2000.0f;
    float m_fMaxRadius = 100.0f;
    float m_fSkipForwardRange = 0.0f;

    static const KvReflectedDataType* GetReflectedDataType();

private:
    void SetDefaults();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioSoundVariationList
    : public KvXRefObject<KvProjectData_Core_Raw_AudioSoundVariationList>
{
public:
    KvProjectData_Core_Raw_AudioSoundVariationList() = default;
    // "By Sample": one variation of the picked sample, the list named after it.
    explicit KvProjectData_Core_Raw_AudioSoundVariationList(const KvReflectedObjCtorContext& context);

    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_AudioSoundVariation*> m_apVariations;

    static const KvReflectedDataType* GetReflectedDataType();
};

// A logical sound the game triggers.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioSoundEntry
    : public KvXRefObject<KvProjectData_Core_Raw_AudioSoundEntry>
{
public:
    static constexpr uint32_t kNeverStarted = 0xFFFFFFFF;

    KvProjectData_Core_Raw_AudioSoundEntry() { SetDefaults(); }
    // "By Variation": plays the picked list and takes its name.
    explicit KvProjectData_Core_Raw_AudioSoundEntry(const KvReflectedObjCtorContext& context);
    ~KvProjectData_Core_Raw_AudioSoundEntry() override;

    KvProjectData_Core_Raw_AudioSoundEntry(const KvProjectData_Core_Raw_AudioSoundEntry&) = delete;
    KvProjectData_Core_Raw_AudioSoundEntry& operator=(const KvProjectData_Core_Raw_AudioSoundEntry&) = delete;

    float GetEffectivePriority() const;
    // A preview pawn drawn by the game's "KvEditorPawnCallbackHandler_SoundEntry", when registered.
    void CreateEditorPawn();
    void DestroyEditorPawn();
    // Draws the entry's title, play state and variations at a world position.
    void DrawDebugAt(const KvVector3& position, bool bPlaying) const;

    static void GetConstructContexts(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                     const KvReflectedDataType* pTargetType, void* pParentObject,
                                     const KvReflectedPrimitive* pParentMember);

    std::string m_strName;
    KvProjectData_Core_Raw_AudioVolumeGroup* m_pVolumeGroup = nullptr;
    bool m_bLoop = false;
    float m_fLoopFadeInTime = 0.0f;
    float m_fCoolDownMin = 0.0f;
    float m_fCoolDownMax = 0.0f;
    uint8_t m_ucProbability = 100;
    uint8_t m_ucPriority = 50;
    KvProjectData_Core_Raw_AudioSoundVariationList* m_pVariationList = nullptr;
    uint32_t m_ulLastStart = kNeverStarted;
    KvProjectData_Core_Raw_EditorPawn* m_pEditorPawn = nullptr;
    KvEditorPawnCallbackHandler* m_pHandler = nullptr;
    // One preview colour per variation; made on first draw and kept.
    mutable std::vector<KvColor> m_aVariationColors;

    static const KvReflectedDataType* GetReflectedDataType();

private:
    void SetDefaults();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioSoundEntryRef
{
public:
    KvProjectData_Core_Raw_AudioSoundEntryRef() = default;
    // "By Sound Entry": the reference is set by the editor afterwards.
    explicit KvProjectData_Core_Raw_AudioSoundEntryRef(const KvReflectedObjCtorContext&) {}

    static void GetDisplayName(std::string& outName, const KvReflectedDataType* pType, const void* pObject);
    static void GetConstructContexts(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                     const KvReflectedDataType* pTargetType, void* pParentObject,
                                     const KvReflectedPrimitive* pParentMember);

    KvProjectData_Core_Raw_AudioSoundEntry* m_pSoundEntry = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioSoundEntryCollection
    : public KvXRefObject<KvProjectData_Core_Raw_AudioSoundEntryCollection>
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_Raw_AudioSoundEntryRef*> m_apCollection;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The raw data of the audio database resource.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_AudioDatabase
    : public KvXRefObject<KvProjectData_Core_Raw_AudioDatabase>
{
public:
    std::string m_strName = "[UNNAMED]";
    std::string m_strNotes;
    std::vector<KvProjectData_Core_Raw_AudioVolumeGroup*> m_apVolumeGroups;
    std::vector<KvProjectData_Core_Raw_AudioSoundEntry*> m_apSoundEntries;
    std::vector<KvProjectData_Core_Raw_AudioSoundVariationList*> m_apSoundVariations;
    std::vector<KvProjectData_Core_Raw_AudioSoundEntryCollection*> m_apSoundCollections;

    static const KvReflectedDataType* GetReflectedDataType();
};
