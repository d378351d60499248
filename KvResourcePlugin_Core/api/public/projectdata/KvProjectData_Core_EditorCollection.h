#pragma once

#include "KvResourcePlugin_CoreExport.h"

#include <vector>

class KvReflectedDataType;

// An editor object of any reflected type, with its type.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EditorEntry
{
public:
    KvProjectData_Core_Raw_EditorEntry() = default;
    // Destroys the held object through its type when both are set.
    ~KvProjectData_Core_Raw_EditorEntry();

    KvProjectData_Core_Raw_EditorEntry(const KvProjectData_Core_Raw_EditorEntry&) = delete;
    KvProjectData_Core_Raw_EditorEntry& operator=(const KvProjectData_Core_Raw_EditorEntry&) = delete;

    const KvReflectedDataType* m_pType = nullptr;
    void* m_pData = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_EditorCollection
{
public:
    KvProjectData_Core_Raw_EditorCollection() = default;
    // Destroys every entry it still holds.
    ~KvProjectData_Core_Raw_EditorCollection();

    KvProjectData_Core_Raw_EditorCollection(const KvProjectData_Core_Raw_EditorCollection&) = delete;
    KvProjectData_Core_Raw_EditorCollection&
    operator=(const KvProjectData_Core_Raw_EditorCollection&) = delete;

    std::vector<KvProjectData_Core_Raw_EditorEntry*> m_apData;

    static const KvReflectedDataType* GetReflectedDataType();
};
