#include "KvResourcePlugin_Core_Resources.h"

#include "KvResourceDescriptor_Core.h"
#include "TypeManager/KvObjectFactory.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_Animation.h"
#include "projectdata/KvProjectData_Core_Attachment.h"
#include "projectdata/KvProjectData_Core_Audio.h"
#include "projectdata/KvProjectData_Core_Effect.h"
#include "projectdata/KvProjectData_Core_Font.h"
#include "projectdata/KvProjectData_Core_Framework.h"
#include "projectdata/KvProjectData_Core_GameState.h"
#include "projectdata/KvProjectData_Core_Input.h"
#include "projectdata/KvProjectData_Core_Localisation.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "projectdata/KvProjectData_Core_RenderPipeline.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "projectdata/KvProjectData_Core_Texture.h"
#include "projectdata/KvSchema.h"

namespace
{
// Declares the data classes of a kind, in the order given.
template <class... Classes>
void Declare()
{
    (Classes::GetReflectedDataType(), ...);
}

void DeclareActorWorld()
{
    // The actor classes point at each other: their names are known before any is declared.
    KvDeclareForward("KvProjectData_Core_Raw_ActorEntry");
    KvDeclareForward("KvProjectData_Core_Raw_ActorLayer");
    Declare<KvProjectData_Core_Raw_ActorComponent, KvProjectData_Core_Raw_ActorEntry,
            KvProjectData_Core_Raw_ActorPrefab, KvProjectData_Core_Raw_ActorLayer,
            KvProjectData_Core_Raw_ActorLayerRef, KvProjectData_Core_Raw_ActorWorldRef,
            KvProjectData_Core_Raw_ActorWorld>();
}

template <class T>
const KvReflectedDataType* TypeOf()
{
    return T::GetReflectedDataType();
}
} // namespace

// A descriptor per type, from the table: type name, short name, resource class, root and
// payload types, the data classes declared, load order (-1: the host's), queries 1 to 5.
#define KV_DEFINE_CORE_RESOURCE(Class, TypeName, ShortName, Root, Payload, DeclareTypes, LoadOrder, Q1, Q2,  \
                                Q3, Q4, Q5)                                                                  \
    KV_IMPLEMENT_TYPED_CLASS(Class)                                                                          \
    const KvResourceDescriptor* Class::GetStaticDescriptor()                                                 \
    {                                                                                                        \
        static const tResourceTypeInfo s_Info{                                                               \
            TypeName, ShortName,    &Class::GetType, &TypeOf<Root>,                                          \
            Payload,  DeclareTypes, LoadOrder,       {Q1, Q2, Q3, Q4, Q5}};                                  \
        static const KvResourceDescriptor_Core s_Descriptor(s_Info);                                         \
        return &s_Descriptor;                                                                                \
    }

KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_AttachmentTemplates, "attachmenttemplates", "attachtemplates",
                        KvProjectData_KvProjectData_AttachmentTemplateTopLevel, nullptr,
                        (&Declare<KvAttachmentSlot, KvAttachmentSlotTemplate,
                                  KvProjectData_KvProjectData_AttachmentTemplateTopLevel>),
                        0, true, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_ActorLayer, "actor_layer", "actorlayer",
                        KvProjectData_Core_Raw_ActorLayer, nullptr,
                        (&Declare<KvProjectData_Core_Raw_EditorPawn, KvProjectData_Core_Raw_ActorComponent,
                                  KvProjectData_Core_Raw_ActorEntry, KvProjectData_Core_Raw_ActorPrefab,
                                  KvProjectData_Core_Raw_ActorLayerRef, KvProjectData_Core_Raw_ActorTrigger,
                                  KvProjectData_Core_Raw_ActorLayer>),
                        -1, false, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_ActorPrefab, "actor_prefab", "actorprefab",
                        KvProjectData_Core_Raw_ActorPrefab, nullptr,
                        (&Declare<KvProjectData_Core_Raw_ActorEntry, KvProjectData_Core_Raw_ActorEntryCode,
                                  KvProjectData_Core_Raw_ActorPrefab>),
                        -1, false, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_ActorWorld, "actor_world", "actorworld",
                        KvProjectData_Core_Raw_ActorWorld, nullptr, &DeclareActorWorld, -1, false, false,
                        false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_EffectBanks, "effectbank", "effectbanks",
                        KvProjectData_Core_Raw_EffectTopLevel, nullptr,
                        (&Declare<KvProjectData_Core_Raw_EffectInstance, KvProjectData_Core_Raw_EffectBank,
                                  KvProjectData_Core_Raw_EffectBank_Ref, KvProjectData_Core_Raw_Effect,
                                  KvProjectData_Core_Raw_EffectTopLevel>),
                        0, true, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(
    KvResourcePlugin_Core_AnimationDefinition, "Animation_Definition", "animgraph",
    KvProjectData_Core_Raw_AnimationDefinition, nullptr,
    (&Declare<KvProjectData_Core_Raw_AnimationEvent, KvProjectData_Core_Raw_AnimationEventTrack,
              KvProjectData_Core_Raw_AnimationModel, KvProjectData_Core_Raw_AnimationStateBlendTarget,
              KvProjectData_Core_Raw_AnimationClipRef, KvProjectData_Core_Raw_AnimationState,
              KvProjectData_Core_Raw_AnimationStateMachine, KvProjectData_Core_Raw_AnimationGraph,
              KvProjectData_Core_Raw_AnimationTask, KvProjectData_Core_Raw_AnimationStateCode,
              KvProjectData_Core_Raw_AnimationSkeleton, KvProjectData_Core_Raw_AnimationSkeletonBone,
              KvProjectData_Core_Raw_AnimationDefinition>),
    -1, true, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(
    KvResourcePlugin_Core_AudioDatabase, "AudioDatabase", "audiodatabase",
    KvProjectData_Core_Raw_AudioDatabase, nullptr,
    (&Declare<KvProjectData_Core_Raw_AudioVolumeGroup, KvProjectData_Core_Raw_AudioSoundVariation,
              KvProjectData_Core_Raw_AudioSoundVariationList, KvProjectData_Core_Raw_AudioSoundEntry,
              KvProjectData_Core_Raw_AudioSoundEntryRef, KvProjectData_Core_Raw_AudioSoundEntryCollection,
              KvProjectData_Core_Raw_AudioDatabase>),
    -1, true, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(
    KvResourcePlugin_Core_AudioSample, "AudioSamples", "audiosamples", KvProjectData_Core_Raw_AudioSample,
    &TypeOf<KvProjectData_Core_Raw_AudioSample_Payload>,
    (&Declare<KvProjectData_Core_Raw_AudioSample_Payload, KvProjectData_Core_Raw_AudioSample>), -1, true,
    true, false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_GameStateLibrary, "GameState Library", "gamestatelibrary",
                        KvProjectData_Core_GameStateLibrary, nullptr,
                        (&Declare<KvProjectData_Core_GameState, KvProjectData_Core_GameStateLibrary>), -1,
                        false, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_i18nStringTable, "LocalizationStringTable", "i18n",
                        KvProjectData_Core_Raw_i18nStringTable, nullptr,
                        (&Declare<KvProjectData_Core_Raw_i18nStringTable>), 1, false, false, false, true,
                        false)
KV_DEFINE_CORE_RESOURCE(
    KvResourcePlugin_Core_InputTranslator, "InputTranslator", "input", KvProjectData_Core_Raw_InputTranslator,
    nullptr,
    (&Declare<KvProjectData_Core_Raw_InputElement, KvProjectData_Core_Raw_InputElementSet,
              KvProjectData_Core_Raw_InputTypematicRateInfo, KvProjectData_Core_Raw_InputCommand,
              KvProjectData_Core_Raw_InputControllerDescriptor, KvProjectData_Core_Raw_InputTranslator>),
    -1, true, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_Interface, "interface", "interface",
                        KvProjectData_Core_Raw_Interface, nullptr,
                        (&Declare<KvProjectData_Core_Raw_Interface>), 0, true, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_PhysicsCollection, "Physics_Collection", "physics",
                        KvProjectData_Core_Raw_PhysicsCollection, nullptr,
                        (&Declare<KvProjectData_Core_Raw_PhysicsCollection>), 1, false, false, true, true,
                        false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_FrameworkConfig, "Framework Config", "frameworkconfig",
                        KvProjectData_Core_FrameworkConfig_TopLevel, nullptr,
                        (&Declare<KvProjectData_Core_FrameworkConfig_TopLevel>), -1, false, false, false,
                        true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_Font, "Rendering_Font", "font", KvProjectData_Core_Font,
                        nullptr, (&Declare<KvProjectData_Core_Font_Character, KvProjectData_Core_Font>), -1,
                        false, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(
    KvResourcePlugin_Core_Material, "Rendering_Material", "material", KvProjectData_Core_Raw_Material,
    nullptr,
    (&Declare<KvProjectData_Core_Raw_MaterialPassBinding, KvProjectData_Core_Raw_MaterialTextureSlot,
              KvProjectData_Core_Raw_Material>),
    0, false, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_Mesh, "Rendering_Mesh", "mesh", KvProjectData_Core_Raw_Mesh,
                        &TypeOf<KvProjectData_Core_Mesh_Payload>,
                        (&Declare<KvProjectData_Core_Mesh_Payload, KvProjectData_Core_Cooked_MeshHandle,
                                  KvProjectData_Core_Raw_Mesh>),
                        0, true, true, true, true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_ParticleSystem, "Rendering_ParticleSystem", "particle",
                        KvProjectData_Core_Raw_ParticleSystem, nullptr,
                        (&Declare<KvProjectData_Core_Raw_ParticleSystem>), 1, true, false, false, true, false)
KV_DEFINE_CORE_RESOURCE(
    KvResourcePlugin_Core_RenderPipeline, "Rendering_Pipeline", "renderpipeline",
    KvProjectData_Core_RenderPipeline_TopLevel, nullptr,
    (&Declare<KvProjectData_Core_Raw_RenderPass, KvProjectData_Core_RenderNodePin,
              KvProjectData_Core_RenderPipeline, KvProjectData_Core_RenderNodePinData_Texture,
              KvProjectData_Core_RenderNodePinData_SwapChain, KvProjectData_Core_RenderNodePinData_Shader,
              KvProjectData_Core_RenderNodePinData_Bool, KvProjectData_Core_RenderNodePinData_Float,
              KvProjectData_Core_RenderNodePinData_Float2, KvProjectData_Core_RenderNodePinData_Float3,
              KvProjectData_Core_RenderNodePinData_Float4, KvProjectData_Core_RenderNodePinData_Camera,
              KvProjectData_Core_RenderPipeline_TopLevel>),
    -1, false, false, false, true, true)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_RenderShapeLibrary, "Rendering_RenderShapes",
                        "rendershapelibrary", KvProjectData_Core_RenderShapeLibrary_TopLevel, nullptr,
                        (&Declare<KvProjectData_Core_RenderShapeLibrary_TopLevel>), 1, false, false, false,
                        true, false)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_Shader, "Rendering_Shader", "shader",
                        KvProjectData_Core_Raw_Shader, nullptr,
                        (&Declare<KvCompiledShaderPass_Ref, KvProjectData_Core_Raw_Shader>), -1, true, false,
                        true, true, true)
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_Texture, "Rendering_Texture", "texture",
                        KvProjectData_Core_Raw_Texture, &TypeOf<KvProjectData_Core_Raw_Texture_Payload>,
                        (&Declare<KvProjectData_Core_Cooked_TextureHandle,
                                  KvProjectData_Core_Raw_Texture_Payload, KvProjectData_Core_Raw_Texture>),
                        0, true, true, true, false, false)

// Never registered; it reports the Texture type's names, as the type table has it.
KV_DEFINE_CORE_RESOURCE(KvResourcePlugin_Core_Video, "Rendering_Texture", "texture",
                        KvProjectData_Core_Raw_Video, nullptr, (&Declare<KvProjectData_Core_Raw_Video>), 0,
                        true, true, false, true, false)
#undef KV_DEFINE_CORE_RESOURCE
