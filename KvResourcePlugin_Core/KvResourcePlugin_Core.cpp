#include "KvResourcePlugin_Core.h"

#include "KvResourcePlugin_Core_Resources.h"
#include "Resources/KvResourceCooker.h"
#include "projectdata/KvProjectData_Core_EditorCollection.h"
#include "projectdata/KvProjectData_Core_EditorPawn.h"

void KvResourcePlugin_Core::InitializeReferences(const tInitContext& context)
{
    KvResourceDescriptorRegistry& descriptors = *context.m_pDescriptors;
    KvResource::BindDataTypes();
    KvEditorPawnCallbackHandler::GetType();
    KvEditorPhysicsEntry::GetType();
    descriptors.Register(KvResourcePlugin_Core_GameStateLibrary::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_Interface::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_Font::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_ParticleSystem::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_Texture::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_Shader::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_RenderPipeline::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_FrameworkConfig::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_Mesh::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_Material::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_RenderShapeLibrary::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_AnimationDefinition::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_ActorPrefab::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_ActorLayer::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_ActorWorld::GetStaticDescriptor());
    context.m_pCookers->Register(
        new KvResourceCooker_Passthrough(KvResourcePlugin_Core_FrameworkConfig::GetStaticDescriptor()));
    descriptors.Register(KvResourcePlugin_Core_InputTranslator::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_i18nStringTable::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_AudioDatabase::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_AudioSample::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_AttachmentTemplates::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_EffectBanks::GetStaticDescriptor());
    KvProjectData_Core_Raw_EditorCollection::GetReflectedDataType();
    KvProjectData_Core_Raw_EditorEntry::GetReflectedDataType();
}

extern "C"
{
    KV_PLUGIN_CORE_API KvResourcePlugin* KvCreateResourcePlugin()
    {
        return new KvResourcePlugin_Core();
    }

    KV_PLUGIN_CORE_API void KvDestroyResourcePlugin(KvResourcePlugin* pPlugin)
    {
        delete pPlugin;
    }
}
