#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "math/KvVector.h"

#include <cfloat>
#include <cstdint>

class KvReflectedDataType;

// The small value records of particle effect settings, embedded in their owners.

// A value drawn around its average, up to the variation either side.
struct KV_PLUGIN_CORE_API KvParticleRange
{
    float m_fAverage = 0.0f;
    float m_fVariation = 0.0f;

    bool operator==(const KvParticleRange&) const = default;
    static const KvReflectedDataType* GetReflectedDataType();
};

// An axis-aligned box; empty (minimum above maximum) until set.
struct KV_PLUGIN_CORE_API KvParticleBox
{
    KvVector3 m_vMin{FLT_MAX, FLT_MAX, FLT_MAX};
    KvVector3 m_vMax{-FLT_MAX, -FLT_MAX, -FLT_MAX};

    static const KvReflectedDataType* GetReflectedDataType();
};

// Two integers, such as the columns and rows of a texture's animation frames.
struct KV_PLUGIN_CORE_API KvParticleInt2
{
    int32_t m_iX = 0;
    int32_t m_iY = 0;

    static const KvReflectedDataType* GetReflectedDataType();
};
