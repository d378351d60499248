#pragma once

#include "KvResourcePlugin_CoreExport.h"

#include <string>

class KvReflectedDataType;

// A texture an effect draws with, named by its file; the engine loads it when it shows the effect.
class KV_PLUGIN_CORE_API KvBitmap
{
public:
    KvBitmap() = default;
    explicit KvBitmap(std::string fileName) : m_strFileName(std::move(fileName)) {}

    static const KvReflectedDataType* GetReflectedDataType();

    // Lower case, without leading "..\\" parts.
    std::string m_strFileName;
};
