#pragma once

#include "Foundation/KvLog.h"
#include "KvResourceCommonExport.h"

#include <string>
#include <vector>

// Collects the messages logged while it lives, beside the other sinks: what a host step
// reports is part of its outcome.
class KV_RESOURCECOMMON_API KvLogCapture : public KvLogInterface
{
public:
    KvLogCapture();
    ~KvLogCapture() override;
    KvLogCapture(const KvLogCapture&) = delete;
    KvLogCapture& operator=(const KvLogCapture&) = delete;

    void Write(const char* category, uint32_t level, const char* message) override;

    // Every message in the order logged.
    const std::vector<std::string>& GetMessages() const { return m_aMessages; }

private:
    std::vector<std::string> m_aMessages;
};
