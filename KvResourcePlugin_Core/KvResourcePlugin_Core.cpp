#include "KvResourcePlugin_Core.h"

#include "KvResourcePlugin_Core_Resources.h"
#include "editor/KvEditorPawnCallbackHandler.h"
#include "importers/KvResourceImporter_ADPCM.h"
#include "importers/KvResourceImporter_DDS.h"
#include "importers/KvResourceImporter_EngineMaterial.h"
#include "importers/KvResourceImporter_EnginePrefab.h"
#include "importers/KvResourceImporter_Font.h"
#include "importers/KvResourceImporter_InputTranslator.h"
#include "importers/KvResourceImporter_Interface.h"
#include "importers/KvResourceImporter_ParticleSystem.h"
#include "importers/KvResourceImporter_ShaderBin.h"
#include "importers/KvResourceImporter_i18n.h"
#include "particles/KvResourceBinder_ParticleSystem.h"
#include "projectdata/KvProjectData_Core_EditorCollection.h"
#include "projectdata/KvProjectData_Core_EditorPawn.h"
#include "resources/KvResourceCooker.h"

void KvResourcePlugin_Core::InitializeReferences(const tInitContext& context)
{
    KvResourceDescriptorRegistry& descriptors = *context.m_pDescriptors;
    KvResourceImporterRegistry& importers = *context.m_pImporters;
    KvResource::BindDataTypes();
    KvEditorPawnCallbackHandler::GetType();
    KvEditorPhysicsEntry::GetType();
    descriptors.Register(KvResourcePlugin_Core_GameStateLibrary::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_Interface::GetStaticDescriptor());
    importers.Register(new KvResourceImporter_Interface());
    descriptors.Register(KvResourcePlugin_Core_Font::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_ParticleSystem::GetStaticDescriptor());
    importers.Register(new KvResourceImporter_ParticleSystem());
    context.m_pBinders->Register(KvResourcePlugin_Core_ParticleSystem::GetStaticDescriptor(), nullptr,
                                 nullptr, new KvResourceBinder_ParticleSystem());
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
    importers.Register(new KvResourceImporter_Font());
    importers.Register(new KvResourceImporter_DDS());
    importers.Register(new KvResourceImporter_ShaderBin());
    importers.Register(new KvResourceImporter_EnginePrefab());
    context.m_pCookers->Register(
        new KvResourceCooker_Passthrough(KvResourcePlugin_Core_FrameworkConfig::GetStaticDescriptor()));
    descriptors.Register(KvResourcePlugin_Core_InputTranslator::GetStaticDescriptor());
    importers.Register(new KvResourceImporter_InputTranslator());
    descriptors.Register(KvResourcePlugin_Core_i18nStringTable::GetStaticDescriptor());
    importers.Register(new KvResourceImporter_i18n());
    descriptors.Register(KvResourcePlugin_Core_AudioDatabase::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_Core_AudioSample::GetStaticDescriptor());
    importers.Register(new KvResourceImporter_ADPCM());
    descriptors.Register(KvResourcePlugin_AttachmentTemplates::GetStaticDescriptor());
    descriptors.Register(KvResourcePlugin_EffectBanks::GetStaticDescriptor());
    KvProjectData_Core_Raw_EditorCollection::GetReflectedDataType();
    KvProjectData_Core_Raw_EditorEntry::GetReflectedDataType();
}

void KvResourcePlugin_Core::ExportUnregisteredImporters(KvResourceImporterRegistry& standby)
{
    standby.Register(new KvResourceImporter_EngineMaterial());
}

std::vector<const KvResourceDescriptor*> KvResourcePlugin_Core::GetUnregisteredDescriptors() const
{
    return {KvResourcePlugin_Core_PhysicsCollection::GetStaticDescriptor(),
            KvResourcePlugin_Core_Video::GetStaticDescriptor()};
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
