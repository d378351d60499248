#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>
#include <string>
#include <vector>

class KvParticleEffectFile;

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
    KvProjectData_Core_Raw_ParticleSystem() = default;
    ~KvProjectData_Core_Raw_ParticleSystem();
    // The effect is this object's alone.
    KvProjectData_Core_Raw_ParticleSystem(const KvProjectData_Core_Raw_ParticleSystem&) = delete;
    KvProjectData_Core_Raw_ParticleSystem& operator=(const KvProjectData_Core_Raw_ParticleSystem&) = delete;

    // The file's text followed by one zero byte.
    std::vector<uint8_t> m_acParticleBin;
    std::string m_strName;
    // The run-time effect the binder builds from the bytes; owned, not reflected.
    KvParticleEffectFile* m_pEffect = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Video : public KvXRefObject<KvProjectData_Core_Raw_Video>
{
public:
    std::string m_strName;

    static const KvReflectedDataType* GetReflectedDataType();
};
