#include "projectdata/KvProjectData_Core_OpaqueData.h"

#include "particles/KvParticleEffectFile.h"
#include "projectdata/KvSchema.h"

KvProjectData_Core_Raw_ParticleSystem::~KvProjectData_Core_Raw_ParticleSystem()
{
    delete m_pEffect;
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_PhysicsCollection, ObjectConstructor)
using T = KvProjectData_Core_Raw_PhysicsCollection;
schema.TypeAttribute(new KvAttribute_Network());
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Array("m_acData", &T::m_acData).With(new KvAttribute_HideInPropertyGrid());
schema.Member("m_pRunResource", &T::m_pRunResource).With(new KvAttribute_SetResourceHandle());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Interface, ObjectConstructor)
using T = KvProjectData_Core_Raw_Interface;
schema.Array("m_acBin", &T::m_acBin).With(new KvAttribute_HideInPropertyGrid());
schema.IdentityName(&T::m_strName).With(new KvAttribute_SetFromResourceName());
schema.IdentityGuid();
schema.IdentityLocalIndex();
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_ParticleSystem, ObjectConstructor)
using T = KvProjectData_Core_Raw_ParticleSystem;
schema.TypeAttribute(new KvAttribute_Network());
schema.Array("m_acParticleBin", &T::m_acParticleBin).With(new KvAttribute_HideInPropertyGrid());
schema.IdentityName(&T::m_strName).With(new KvAttribute_SetFromResourceName());
schema.IdentityGuid().With(new KvAttribute_SetFromResourceName());
schema.IdentityLocalIndex();
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Video, ObjectConstructor)
using T = KvProjectData_Core_Raw_Video;
schema.TypeAttribute(new KvAttribute_ReadOnly());
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
KV_END_SCHEMA()
