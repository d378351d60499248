#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>
#include <string>
#include <vector>

class KV_PLUGIN_CORE_API KvProjectData_Core_CodeLibrary
{
public:
    std::string m_strName;
    std::string m_strProjectFile;
    std::string m_strDLLName;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_GameInfo
{
public:
    std::string m_strAppName;
    std::string m_strInfo;
    uint32_t m_ulIconId = 0;
    std::string m_strGameTitle;
    std::vector<KvProjectData_Core_CodeLibrary*> m_aLibraries;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_MemoryPool : public KvXRefObject<KvProjectData_Core_MemoryPool>
{
public:
    std::string m_strName;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_ProcessInstance
{
public:
    std::string m_strProcessTypeName;
    std::vector<KvProjectData_Core_MemoryPool*> m_apMemoryPools;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_ProcessConfig
{
public:
    std::string m_strName;
    std::vector<KvProjectData_Core_ProcessInstance*> m_apProcess;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_FrameworkInstance
    : public KvXRefObject<KvProjectData_Core_FrameworkInstance>
{
public:
    std::string m_strName;
    KvProjectData_Core_GameInfo* m_pGame = nullptr;
    KvProjectData_Core_ProcessConfig* m_pConfig = nullptr;
    bool m_bShippingVersion = false;
    std::string m_strRegion;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The raw data of the framework configuration resource.
class KV_PLUGIN_CORE_API KvProjectData_Core_FrameworkConfig_TopLevel
{
public:
    std::vector<KvProjectData_Core_FrameworkInstance*> m_apFrameworkInstances;

    static const KvReflectedDataType* GetReflectedDataType();
};
