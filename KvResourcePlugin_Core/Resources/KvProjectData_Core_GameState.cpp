#include "projectdata/KvProjectData_Core_GameState.h"

#include "Foundation/KvReport.h"
#include "projectdata/KvSchema.h"

KvProjectData_Core_GameState::KvProjectData_Core_GameState(const std::string& className)
    : m_strName("[DEFAULT]"), m_pDataType(KvReflectionInterface::GetInstance()->FindType(className.c_str()))
{
    if (m_pDataType && m_pDataType->GetObjectConstructor())
        m_pData = m_pDataType->GetObjectConstructor()->Create();
    else
        KvLogReport(kKvLogLevelWarning,
                    {"KvResourcePlugin_Core\\api\\public/projectdata/KvProjectData_Core_GameState",
                     "KvProjectData_Core_GameState::KvProjectData_Core_GameState", 29},
                    "Gamestate '%s' not registered in the reflection system - gamestate will not run!",
                    className.c_str());
}

KvProjectData_Core_GameState::KvProjectData_Core_GameState(const KvReflectedObjCtorContext& context)
    : KvProjectData_Core_GameState(context.m_strLabel)
{
}

KV_BEGIN_SCHEMA(KvProjectData_Core_GameState, ObjectConstructor)
using T = KvProjectData_Core_GameState;
schema.TypeAttribute(new KvAttribute_CtorByTypeInheritance("By Type", "KvGameState", new ObjectCtor<T>()));
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("Game State : %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.InheritedTypeRecord("m_pDataType", &T::m_pDataType)
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_HideInPropertyGrid());
schema.Dynamic("m_pData", "m_pDataType", &T::m_pData).With(new KvAttribute_HideVirtualNode());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_GameStateLibrary, ObjectConstructor)
schema.PointerArray("m_apStates", &KvProjectData_Core_GameStateLibrary::m_apStates,
                    KvProjectData_Core_GameState::GetReflectedDataType());
KV_END_SCHEMA()
