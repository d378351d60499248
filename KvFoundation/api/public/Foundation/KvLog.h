#pragma once

#include <cstdint>
#include <vector>

// A log sink. Implemented by the host; called from every module.
class KvLogInterface
{
public:
    virtual ~KvLogInterface() = default;
    virtual void Flush() {}
    virtual void Write(const char* category, uint32_t level, const char* message) = 0;
};

// The process-wide list of log sinks, published as "KvLogInterfaceContainer_Shared".
// Only the host adds sinks; a null entry is skipped.
class KvLogInterfaceContainer
{
public:
    virtual ~KvLogInterfaceContainer() = default;

    std::vector<KvLogInterface*> m_apInterfaces;
};

namespace KvLog
{
// The published container, or null before start-up (or after a host removed it).
KvLogInterfaceContainer* GetContainer();

// Calls every sink of the published container in order; does nothing without one.
void Write(const char* category, uint32_t level, const char* message);

// Adds or removes a sink in the published container; the caller keeps ownership.
void AddInterface(KvLogInterface* pInterface);
void RemoveInterface(KvLogInterface* pInterface);
} // namespace KvLog
