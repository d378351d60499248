#include "particles/KvParticleEmitter.h"

#include "Foundation/KvRandom.h"
#include "particles/KvParticleSettings.h"

namespace
{
using T = KvParticleEmitter;
using namespace KvParticleValues;

constexpr tName kTypes[] = {{"unknown", T::TYPE_UNKNOWN}, {"point", T::TYPE_POINT},
                            {"sphere", T::TYPE_SPHERE},   {"box", T::TYPE_BOX},
                            {"plane", T::TYPE_PLANE},     {"path", T::TYPE_PATH},
                            {"ray", T::TYPE_RAY},         {"mesh", T::TYPE_MESH}};
constexpr tName kConeModes[] = {{"alldims", 0}, {"yaw", 1}, {"pitch", 2}};

constexpr tParticleSetting<T> kSettings[] = {
    {"", "type", &T::m_iType, {eParticleRead::NAME, kTypes, T::TYPE_UNKNOWN}},
    {"", "radius", &T::m_fRadius, {eParticleRead::BY_HAND}},
    {"", "boxdim", &T::m_vBoxDim, {eParticleRead::BY_HAND}},
    {"", "planedim", &T::m_vPlaneDim, {eParticleRead::BY_HAND}},
    {"", "length", &T::m_fLength, {eParticleRead::BY_HAND}},
    {"", "mask", &T::m_strMask},
    {"startupfillpercentage", nullptr, &T::m_StartupFillPercentage},
    {"fixparticlecount", nullptr, &T::m_FixParticleCount},
    {"frequency", nullptr, &T::m_Frequency},
    {"countlookup/curve", nullptr, &T::m_pCountLookup},
    {"countlookup", "time", &T::m_fCountLookupTime},
    {"countlookup", "randomofs", &T::m_bCountLookupRandomOfs},
    {"countlookup", "offsets", &T::m_vCountLookupOffsets, {eParticleRead::BY_HAND}},
    {"direction", "coneangle", &T::m_vConeAngle},
    {"direction", "conemode", &T::m_iConeMode, {eParticleRead::NAME, kConeModes}},
};
} // namespace

KvParticleEmitter::~KvParticleEmitter()
{
    delete m_pCountLookup;
}

bool KvParticleEmitter::Read(const rapidxml::xml_node<>& element, KvImportBudget& budget)
{
    if (!KvReadParticleSettings<T>(*this, element, kSettings, budget))
        return false;
    // Only the extent of the emitter's own shape is read.
    switch (m_iType)
    {
    case TYPE_SPHERE:
        ReadFloat(KvXmlAttributeText(&element, "radius"), m_fRadius);
        break;
    case TYPE_BOX:
        ReadList(KvXmlAttributeText(&element, "boxdim"), m_vBoxDim);
        break;
    case TYPE_PLANE:
        ReadList(KvXmlAttributeText(&element, "planedim"), m_vPlaneDim);
        break;
    case TYPE_RAY:
        ReadFloat(KvXmlAttributeText(&element, "length"), m_fLength);
        break;
    default:
        break;
    }
    if (m_bCountLookupRandomOfs)
    {
        KvRandomGeneratorCRT random;
        m_vCountLookupOffsets.x = random.GetRandom(0.0f, 1.0f);
        m_vCountLookupOffsets.y = random.GetRandom(0.0f, 1.0f);
    }
    return true;
}

KV_BEGIN_SCHEMA(KvParticleEmitter, ObjectConstructor)
KvDeclareParticleSettings<T>(schema, kSettings);
KV_END_SCHEMA()
