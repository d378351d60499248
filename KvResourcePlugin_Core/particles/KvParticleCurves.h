#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "Toolbox/KvToolboxXML.h"
#include "importers/KvImportBudget.h"
#include "math/KvVector.h"

#include <vector>

class KvReflectedDataType;

// The curves of particle effects: curves of points with tangents, and colour curves of one such
// curve per channel. Their evaluation belongs to the engine; the editor keeps what the file says.

// One point of a curve with its incoming and outgoing tangents.
struct KV_PLUGIN_CORE_API KvCurvePoint
{
    KvVector2 m_vPos;
    KvVector2 m_vTangentIn;
    KvVector2 m_vTangentOut;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The points of a curve element: its "numpoints" and at most that many "point" children, so a
// count larger than the file holds costs nothing.
class KV_PLUGIN_CORE_API KvCurvePoints
{
public:
    // False once the budget is spent.
    bool Read(const rapidxml::xml_node<>& element, KvImportBudget& budget);

    std::vector<KvCurvePoint> m_aPoints;
};

// A path over time.
class KV_PLUGIN_CORE_API KvPositionCurve : public KvCurvePoints
{
public:
    static const KvReflectedDataType* GetReflectedDataType();
};

// One value over another, such as a particle count over time or a size over a particle's life.
class KV_PLUGIN_CORE_API KvCurve2D : public KvCurvePoints
{
public:
    static const KvReflectedDataType* GetReflectedDataType();
};

// A colour over time: a curve per channel, none for a channel the file leaves out.
class KV_PLUGIN_CORE_API KvColorCurve
{
public:
    KvColorCurve() = default;
    ~KvColorCurve();
    KvColorCurve(const KvColorCurve&) = delete;
    KvColorCurve& operator=(const KvColorCurve&) = delete;

    // False once the budget is spent.
    bool Read(const rapidxml::xml_node<>& element, KvImportBudget& budget);
    static const KvReflectedDataType* GetReflectedDataType();

    KvCurve2D* m_pRed = nullptr;
    KvCurve2D* m_pGreen = nullptr;
    KvCurve2D* m_pBlue = nullptr;
    KvCurve2D* m_pAlpha = nullptr;
};

// Replaces the curve with one read from the element; false once the budget is spent.
template <class Curve>
bool KvReadCurve(Curve*& pCurve, const rapidxml::xml_node<>& element, KvImportBudget& budget)
{
    if (!budget.ChargeObject<Curve>())
        return false;
    delete pCurve;
    pCurve = new Curve();
    return pCurve->Read(element, budget);
}
