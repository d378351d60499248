#pragma once

// The plug-in's internals that tests, fuzz harnesses and benchmarks reach (the plug-in class,
// its resource classes, the importers, the chunk reader and the particle effect classes); they include this
// header instead of any private one. Nothing in a module includes it.
#include "KvResourcePlugin_Core.h"
#include "KvResourcePlugin_Core_Resources.h"
#include "actions/KvNativeAction_ActorPrefab_Export.h"
#include "actions/KvNativeAction_Mesh_OverrideShaderBinding.h"
#include "actions/KvNativeAction_Mesh_RevertShaderBinding.h"
#include "actions/KvNativeAction_Mesh_SetMeshDecalBindings.h"
#include "importers/DdsFormat.h"
#include "importers/KvChunkFileWrapper.h"
#include "importers/KvImporterSupport.h"
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
#include "particles/KvParticleCurves.h"
#include "particles/KvParticleEffectFile.h"
#include "particles/KvParticleGroupDescriptor.h"
#include "particles/KvParticleValues.h"
#include "particles/KvResourceBinder_ParticleSystem.h"
