#pragma once

#include <cstdint>
#include <string>

class KvTypedObject;

// The record of one class name in the type manager. A name first seen as someone's parent
// gets a record with only its name and index until its own factory registers it.
class KvTypeInfo
{
public:
    using CreateFunction = KvTypedObject* (*)();

    static constexpr uint32_t kInvalidIndex = 0xFFFFFFFF;

    explicit KvTypeInfo(const std::string& name, uint32_t index) : m_strName(name), m_uiIndex(index) {}

    // True when the record is usable; every failure is fatal, naming the broken rule.
    bool Validate() const;

    // A new default object of the class; null for an abstract class or a bare placeholder.
    KvTypedObject* CreateInstance() const { return m_pfnCreate ? m_pfnCreate() : nullptr; }

    std::string m_strName;
    CreateFunction m_pfnCreate = nullptr;
    const void* m_pFactory = nullptr;
    uint32_t m_uiIndex = kInvalidIndex;
    KvTypeInfo* m_pParent = nullptr;
    bool m_bAbstract = false;
    uint32_t m_uiExtra32 = 0;
    uint32_t m_uiObjectSize = 0;
    uint64_t m_ulExtra64 = 0;
};
