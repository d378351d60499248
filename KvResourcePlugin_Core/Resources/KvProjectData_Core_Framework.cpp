#include "projectdata/KvProjectData_Core_Framework.h"

#include "projectdata/KvSchema.h"

KV_BEGIN_SCHEMA(KvProjectData_Core_CodeLibrary, ObjectConstructor)
using T = KvProjectData_Core_CodeLibrary;
schema.Member("m_strName", &T::m_strName);
schema.Member("m_strProjectFile", &T::m_strProjectFile);
schema.Member("m_strDLLName", &T::m_strDLLName);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_GameInfo, ObjectConstructor)
using T = KvProjectData_Core_GameInfo;
schema.Member("m_strAppName", &T::m_strAppName);
schema.Member("m_strInfo", &T::m_strInfo);
schema.Member("m_ulIconId", &T::m_ulIconId);
schema.Member("m_strGameTitle", &T::m_strGameTitle);
schema.PointerArray("m_aLibraries", &T::m_aLibraries, KvProjectData_Core_CodeLibrary::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_MemoryPool, ObjectConstructor)
using T = KvProjectData_Core_MemoryPool;
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_ProcessInstance, ObjectConstructor)
using T = KvProjectData_Core_ProcessInstance;
schema.Member("m_strProcessTypeName", &T::m_strProcessTypeName)
    .With(new KvAttribute_DisplayNameFromMember("Process: %s"));
schema.PointerArray("m_apMemoryPools", &T::m_apMemoryPools,
                    KvProjectData_Core_MemoryPool::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_ProcessConfig, ObjectConstructor)
using T = KvProjectData_Core_ProcessConfig;
schema.Member("m_strName", &T::m_strName);
schema.PointerArray("m_apProcess", &T::m_apProcess,
                    KvProjectData_Core_ProcessInstance::GetReflectedDataType());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_FrameworkInstance, ObjectConstructor)
using T = KvProjectData_Core_FrameworkInstance;
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Pointer("m_pGame", &T::m_pGame, KvProjectData_Core_GameInfo::GetReflectedDataType());
schema.Pointer("m_pConfig", &T::m_pConfig, KvProjectData_Core_ProcessConfig::GetReflectedDataType());
schema.Member("m_bShippingVersion", &T::m_bShippingVersion);
schema.Member("m_strRegion", &T::m_strRegion);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_FrameworkConfig_TopLevel, ObjectConstructor)
schema.PointerArray("m_apFrameworkInstances",
                    &KvProjectData_Core_FrameworkConfig_TopLevel::m_apFrameworkInstances,
                    KvProjectData_Core_FrameworkInstance::GetReflectedDataType());
KV_END_SCHEMA()
