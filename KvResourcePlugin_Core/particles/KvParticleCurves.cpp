#include "particles/KvParticleCurves.h"

#include "particles/KvParticleValues.h"
#include "projectdata/KvSchema.h"

#include <algorithm>

namespace
{
// The channel curves, each in a child element of its own.
constexpr std::pair<const char*, KvCurve2D * KvColorCurve::*> kChannels[] = {
    {"curve_red", &KvColorCurve::m_pRed},
    {"curve_green", &KvColorCurve::m_pGreen},
    {"curve_blue", &KvColorCurve::m_pBlue},
    {"curve_alpha", &KvColorCurve::m_pAlpha}};

template <class Curve>
void DeclarePoints(KvSchema<Curve>& schema)
{
    schema.RecordArray("point", &Curve::m_aPoints, KvCurvePoint::GetReflectedDataType());
}
} // namespace

bool KvCurvePoints::Read(const rapidxml::xml_node<>& element, KvImportBudget& budget)
{
    int32_t count = 0;
    KvParticleValues::ReadIntegers(KvXmlAttributeText(&element, "numpoints"), {&count, 1});
    const size_t wanted = static_cast<size_t>(std::max(count, 0));
    for (const rapidxml::xml_node<>* pPoint = element.first_node("point");
         pPoint && m_aPoints.size() < wanted; pPoint = pPoint->next_sibling("point"))
    {
        if (!budget.ChargeElement<KvCurvePoint>())
            return false;
        KvCurvePoint& point = m_aPoints.emplace_back();
        KvParticleValues::ReadList(KvXmlAttributeText(pPoint, "pos"), point.m_vPos);
        KvParticleValues::ReadList(KvXmlAttributeText(pPoint, "t_in"), point.m_vTangentIn);
        KvParticleValues::ReadList(KvXmlAttributeText(pPoint, "t_out"), point.m_vTangentOut);
    }
    return true;
}

KvColorCurve::~KvColorCurve()
{
    for (const auto& [name, channel] : kChannels)
        delete (this->*channel);
}

bool KvColorCurve::Read(const rapidxml::xml_node<>& element, KvImportBudget& budget)
{
    for (const auto& [name, channel] : kChannels)
    {
        const rapidxml::xml_node<>* pElement = element.first_node(name);
        if (pElement && !KvReadCurve(this->*channel, *pElement, budget))
            return false;
    }
    return true;
}

KV_BEGIN_SCHEMA(KvCurvePoint, ObjectConstructor)
using T = KvCurvePoint;
schema.Member("pos", &T::m_vPos);
schema.Member("t_in", &T::m_vTangentIn);
schema.Member("t_out", &T::m_vTangentOut);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvPositionCurve, ObjectConstructor)
DeclarePoints(schema);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvCurve2D, ObjectConstructor)
DeclarePoints(schema);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvColorCurve, ObjectConstructor)
for (const auto& [name, channel] : kChannels)
    schema.Pointer(name, channel, KvCurve2D::GetReflectedDataType());
KV_END_SCHEMA()
