#pragma once

#include "Foundation/KvDebugDrawInterface.h"

#include <string>
#include <utility>
#include <vector>

// The process-wide debug-draw sink while it lives; records the texts and boxes drawn.
class RecordingDebugDraw : public KvDebugDrawStub
{
public:
    RecordingDebugDraw() { KvDebugDraw::SetInterface(this); }
    ~RecordingDebugDraw() override { KvDebugDraw::SetInterface(nullptr); }
    void DrawText3D(const KvVector3& position, const char* text, KvColor color) override
    {
        m_aTexts.push_back(text);
        m_aColors.push_back(color);
        m_aPositions.push_back(position);
    }
    void DrawBox(const KvVector3& min, const KvVector3& max, KvColor) override
    {
        m_aBoxes.push_back({min, max});
    }

    std::vector<std::string> m_aTexts;
    std::vector<KvColor> m_aColors;
    std::vector<KvVector3> m_aPositions;
    std::vector<std::pair<KvVector3, KvVector3>> m_aBoxes;
};
