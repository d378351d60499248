#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "resources/KvResource.h"

class KvResourceDescriptor;

// The resource class of each type: a KvResource with the host's behaviour and the type's
// static descriptor, built on first use.
#define KV_DECLARE_CORE_RESOURCE(Class)                                                                      \
    class KV_PLUGIN_CORE_API Class : public KvResource                                                       \
    {                                                                                                        \
        KV_DECLARE_TYPED_CLASS(Class, KvResource)                                                            \
                                                                                                             \
    public:                                                                                                  \
        static const KvResourceDescriptor* GetStaticDescriptor();                                            \
    }

// In the order the library registers them at start-up.
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_AttachmentTemplates);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_ActorLayer);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_ActorPrefab);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_ActorWorld);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_EffectBanks);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_AnimationDefinition);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_AudioDatabase);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_AudioSample);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_GameStateLibrary);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_i18nStringTable);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_InputTranslator);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_Interface);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_PhysicsCollection);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_FrameworkConfig);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_Font);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_Material);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_Mesh);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_ParticleSystem);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_RenderPipeline);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_RenderShapeLibrary);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_Shader);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_Texture);
KV_DECLARE_CORE_RESOURCE(KvResourcePlugin_Core_Video);
