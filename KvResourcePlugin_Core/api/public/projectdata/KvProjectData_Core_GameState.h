#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"
#include "reflection/KvReflectedObjCtorContext.h"

#include <string>
#include <vector>

// A game state of the game's run-time code, chosen "By Type" from "KvGameState" classes.
class KV_PLUGIN_CORE_API KvProjectData_Core_GameState : public KvXRefObject<KvProjectData_Core_GameState>
{
public:
    KvProjectData_Core_GameState() = default;
    // Named "[DEFAULT]", with an object of the chosen class; logged when the class has no
    // reflected type.
    explicit KvProjectData_Core_GameState(const std::string& className);
    explicit KvProjectData_Core_GameState(const KvReflectedObjCtorContext& context);

    std::string m_strName;
    const KvReflectedDataType* m_pDataType = nullptr;
    void* m_pData = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The raw data of the game-state library resource.
class KV_PLUGIN_CORE_API KvProjectData_Core_GameStateLibrary
{
public:
    std::vector<KvProjectData_Core_GameState*> m_apStates;

    static const KvReflectedDataType* GetReflectedDataType();
};
