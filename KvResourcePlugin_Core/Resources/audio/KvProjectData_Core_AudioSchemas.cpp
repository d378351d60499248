#include "projectdata/KvProjectData_Core_Audio.h"
#include "projectdata/KvSchema.h"

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioSample, ObjectConstructor)
using T = KvProjectData_Core_Raw_AudioSample;
schema.TypeAttribute(new KvAttribute_ReadOnly())
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"));
schema.IdentityName(&T::m_strName).With(new KvAttribute_SetFromResourceName());
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Member("m_pRunResource", &T::m_pRunResource).With(new KvAttribute_SetResourceHandle());
schema.Member("m_pPayloadData", &T::m_pPayloadData).With(new KvAttribute_SetPayloadHandle());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioSample_Payload, ObjectConstructor)
schema.TypeAttribute(new KvAttribute_ReadOnly());
schema.Array("m_aData", &KvProjectData_Core_Raw_AudioSample_Payload::m_aData)
    .With(new KvAttribute_HideInPropertyGrid());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioVolumeGroup, ObjectConstructor)
using T = KvProjectData_Core_Raw_AudioVolumeGroup;
schema.TypeAttribute(new KvAttribute_Event_ParentChanged(&T::OnParentChanged));
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("Volume Group %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Member("m_fVolumeConstant", &T::m_fVolumeConstant)
    .Presented(
        "Volume", "Members",
        "The level design balancing volume constant for this group. The final volume is hierarchial based on "
        "the volume group structure. Thus the final volume = volume() * parent.volume() * "
        "parent.parent.volume() * ...");
schema.Member("m_fVolumeUserMultiplier", &T::m_fVolumeUserMultiplier)
    .With(new KvAttribute_ReadOnly())
    .Presented("Volume Multiplier", "Members",
               "The user setting volume multiplier that effects the volume this group");
schema.Member("m_fVolumeMultiplier", &T::m_fVolumeMultiplier)
    .With(new KvAttribute_ReadOnly())
    .Presented("Volume Multiplier", "Members",
               "The runtime volume multiplier that effects the volume this group");
schema.Member("m_ucPriority", &T::m_ucPriority)
    .Presented(
        "Priority", "Members",
        "The priority of this volume group. Default at 100 that is the highest priority with the minimum at "
        "0. "
        "The final priority is hierarchial based on the volume group structure. Thus the final priority = "
        "priority() * parent.priority() * parent.parent.priority() * ...");
schema.Member("m_bAffectedByEffects", &T::m_bAffectedByEffects)
    .Presented("Affected by Effects", "Members", "Indicates if sound in this group is affected by effects");
schema.Pointer("m_pParentGroup", &T::m_pParentGroup, s_pType)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_MemberDataNotOwned());
schema.PointerArray("m_apChildren", &T::m_apChildren, s_pType);
schema.Member("m_bMuted", &T::m_bMuted).With(new KvAttribute_ReadOnly());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioSoundVariation, ObjectConstructor)
using T = KvProjectData_Core_Raw_AudioSoundVariation;
schema
    .TypeAttribute(new KvAttribute_CtorByContext("By Sample", &T::GetConstructContexts, new ObjectCtor<T>()))
    .TypeAttribute(new KvAttribute_DisplayNameFromDelegate(&T::GetDisplayName))
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"));
schema.IdentityName(&T::m_strName).With(new KvAttribute_HideVirtualNode());
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Pointer("m_pSample", &T::m_pSample, KvProjectData_Core_Raw_AudioSample::GetReflectedDataType())
    .Presented("Sample", "Members", "The sound sample to be played when this variation is played")
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(false);
schema.Member("m_fPitch", &T::m_fPitch).Presented("Pitch", "Members", "Pitch of this sample. Default at 1.");
schema.Member("m_fPitchVariation", &T::m_fPitchVariation)
    .Presented("Pitch Variation", "Members",
               "The random amount that can be added or removed from the pitch of this sample. Default at 0.");
schema.Member("m_fVolume", &T::m_fVolume)
    .Presented("Volume", "Members", "Volume of this sample. Default at 1.");
schema.Member("m_fVolumeVariation", &T::m_fVolumeVariation)
    .Presented(
        "Volume Variation", "Members",
        "The random amount that can be added or removed from the volume of this sample. Default at 0.");
schema.Member("m_fZeroRadius", &T::m_fZeroRadius)
    .Presented("Zero Radius", "3D Sound Radius",
               "Distance from the emiter where the volume must be at zero. Default at 2000.");
schema.Member("m_fMaxRadius", &T::m_fMaxRadius)
    .Presented("Max Radius", "3D Sound Radius",
               "Distance from the emitter where the volume must be at maximum. Default at 100.");
schema.Member("m_fSkipForwardRange", &T::m_fSkipForwardRange)
    .Presented(
        "Forward Skipping Range", "Members",
        "The range percentage that indicate a random amount of samples that can be skipped when the sound is "
        "first played. Default at 0 and Max 0.80");
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioSoundVariationList, ObjectConstructor)
using T = KvProjectData_Core_Raw_AudioSoundVariationList;
schema
    .TypeAttribute(new KvAttribute_CtorByContext(
        "By Sample", &KvProjectData_Core_Raw_AudioSoundVariation::GetConstructContexts, new ObjectCtor<T>()))
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"));
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("List: %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.PointerArray("m_apVariations", &T::m_apVariations,
                    KvProjectData_Core_Raw_AudioSoundVariation::GetReflectedDataType());
KV_END_SCHEMA()

namespace
{
constexpr const char* kCooldownDescription = " cooldown in seconds forced between various instances of this "
                                             "sound being played. Triggers at start of sound "
                                             "playback. Cooldowns are tracked based the player proxies "
                                             "created in code. Thus different actors or effect events "
                                             "will not share cooldowns.";
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioSoundEntry, ObjectConstructor)
using T = KvProjectData_Core_Raw_AudioSoundEntry;
static const std::string s_CooldownMin = std::string("The random minimum") + kCooldownDescription;
static const std::string s_CooldownMax = std::string("The random maximum") + kCooldownDescription;
schema.TypeAttribute(new KvAttribute_Network())
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"))
    .TypeAttribute(new KvAttribute_CtorByContext("By Variation", &T::GetConstructContexts,
                                                 new ObjectCtor<T>()))
    .EditorPreview([](const void* pObject, const KvVector3& position, bool bPlaying)
                   { static_cast<const T*>(pObject)->DrawDebugAt(position, bPlaying); });
schema.IdentityName(&T::m_strName)
    .With(new KvAttribute_DisplayNameFromMember("Sound Entry %s"))
    .Presented("Name", "Sound", "This is the name of the logical sound");
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema
    .Pointer("m_pVolumeGroup", &T::m_pVolumeGroup,
             KvProjectData_Core_Raw_AudioVolumeGroup::GetReflectedDataType())
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true)
    .Presented("Volume Group", "Members",
               "The volume groups that determines the volume of this logical sound");
schema.Member("m_bLoop", &T::m_bLoop).Presented("Loops", "Members", "Indicates if this is a looping sound");
schema.Member("m_fLoopFadeInTime", &T::m_fLoopFadeInTime)
    .Presented("Loop Fade In", "Members",
               "Indicates if this looping sound can be faded in by the specified time. Default 0");
schema.Member("m_fCoolDownMin", &T::m_fCoolDownMin).Presented("Min", "Cooldown", s_CooldownMin.c_str());
schema.Member("m_fCoolDownMax", &T::m_fCoolDownMax).Presented("Max", "Cooldown", s_CooldownMax.c_str());
schema.Member("m_ucProbability", &T::m_ucProbability)
    .Presented(
        "Probability", "Members",
        "The probability of this sound being played once it is triggered. Default at 100 that will always "
        "play, Min at 0 that will never play.");
schema.Member("m_ucPriority", &T::m_ucPriority)
    .Presented(
        "Priority", "Members",
        "The priority of this sound. Default at 50 that is a medium priority sound, Min at 0 and Max at 100 "
        "which is the hightest priority a sound can have.");
schema
    .Pointer("m_pVariationList", &T::m_pVariationList,
             KvProjectData_Core_Raw_AudioSoundVariationList::GetReflectedDataType())
    .Presented("Variations", "Members", "The variations of sounds that apply to this entry")
    .With(new KvAttribute_XRef())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(false);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioSoundEntryRef, ObjectConstructor)
using T = KvProjectData_Core_Raw_AudioSoundEntryRef;
schema.TypeAttribute(new KvAttribute_DisplayNameFromDelegate(&T::GetDisplayName))
    .TypeAttribute(new KvAttribute_CtorByContext("By Sound Entry", &T::GetConstructContexts,
                                                 new ObjectCtor<T>()));
schema
    .Pointer("m_pSoundEntry", &T::m_pSoundEntry,
             KvProjectData_Core_Raw_AudioSoundEntry::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode())
    .PickedByName(true)
    .With(new KvAttribute_XRef());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioSoundEntryCollection, ObjectConstructor)
using T = KvProjectData_Core_Raw_AudioSoundEntryCollection;
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("Sound Collection %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.PointerArray("m_apCollection", &T::m_apCollection,
                    KvProjectData_Core_Raw_AudioSoundEntryRef::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_AudioDatabase, ObjectConstructor)
using T = KvProjectData_Core_Raw_AudioDatabase;
schema.IdentityName(&T::m_strName).With(new KvAttribute_SetFromResourceName());
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Member("m_strNotes", &T::m_strNotes).With(new KvAttribute_MultilineTextboxEditor());
schema.PointerArray("m_apVolumeGroups", &T::m_apVolumeGroups,
                    KvProjectData_Core_Raw_AudioVolumeGroup::GetReflectedDataType());
schema.PointerArray("m_apSoundEntries", &T::m_apSoundEntries,
                    KvProjectData_Core_Raw_AudioSoundEntry::GetReflectedDataType());
schema.PointerArray("m_apSoundVariations", &T::m_apSoundVariations,
                    KvProjectData_Core_Raw_AudioSoundVariationList::GetReflectedDataType());
schema.PointerArray("m_apSoundCollections", &T::m_apSoundCollections,
                    KvProjectData_Core_Raw_AudioSoundEntryCollection::GetReflectedDataType());
KV_END_SCHEMA()
