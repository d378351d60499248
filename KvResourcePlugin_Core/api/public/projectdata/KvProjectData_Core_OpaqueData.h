#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>
#include <string>
#include <vector>

// Resources whose data the plug-in keeps as imported bytes.

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_PhysicsCollection
    : public KvXRefObject<KvProjectData_Core_Raw_PhysicsCollection>
{
public:
    std::string m_strName;
    std::vector<uint8_t> m_acData;
    void* m_pRunResource = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Interface
    : public KvXRefObject<KvProjectData_Core_Raw_Interface>
{
public:
    std::vector<uint8_t> m_acBin;
    std::string m_strName;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_ParticleSystem
    : public KvXRefObject<KvProjectData_Core_Raw_ParticleSystem>
{
public:
    std::vector<uint8_t> m_acParticleBin;
    std::string m_strName;
    // The run-time effect the binder builds from the bytes; not saved.
    void* m_pEffect = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Video : public KvXRefObject<KvProjectData_Core_Raw_Video>
{
public:
    std::string m_strName;

    static const KvReflectedDataType* GetReflectedDataType();
};
