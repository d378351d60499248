#include "particles/KvParticleGroupDescriptor.h"

#include "particles/KvParticleSettings.h"

#include <algorithm>
#include <limits>

namespace
{
using T = KvParticleGroupDescriptor;
using namespace KvParticleValues;
constexpr eParticleRead PATH = eParticleRead::PATH;
constexpr eParticleRead NAME = eParticleRead::NAME;
constexpr eParticleRead FACTOR = eParticleRead::FACTOR;
constexpr eParticleRead BY_HAND = eParticleRead::BY_HAND;

constexpr tName kTopologies[] = {
    {"Billboards", 0}, {"StretchVelocity", 1}, {"StretchFixLength", 2}, {"RingWave", 3}, {"Mesh", 4},
    {"Trail", 5}};
constexpr tName kFadeModes[] = {{"none", 0}, {"fog", 1}, {"custom", 2}};
constexpr tName kRotationModes[] = {{"none", 0}, {"constspeed", 1}, {"curve", 2}};

// In the order of the file's sections; the rows of one element follow each other.
constexpr tParticleSetting<T> kSettings[] = {
    {"description", "name", &T::m_strName},
    {"description", "description", &T::m_strDescription},
    {"defaultemitter", nullptr, &T::m_DefaultEmitter},
    {"group", "topology", &T::m_iTopology, {NAME, kTopologies, T::kUnknownTopology}},
    {"group", "localspace", &T::m_bLocalSpace},
    {"group", "localpos", &T::m_vLocalPos},
    {"group", "localori", &T::m_vLocalOri},
    {"group", "tcurvetime", &T::m_fTCurveTime},
    {"group", "tcurveradius", &T::m_fTCurveRadius},
    {"group", "usetcurve", &T::m_bUseTCurve},
    {"group/positioncurve", nullptr, &T::m_pPositionCurve},
    {"group/orientationcurve", nullptr, &T::m_pOrientationCurve},
    {"group/groupsorting", "sortkey", &T::m_iSortKey},
    {"group/lifetime", nullptr, &T::m_Lifetime},
    {"group/timescale", nullptr, &T::m_TimeScale},
    {"group/delay", nullptr, &T::m_Delay},
    {"group/texture", "filename", &T::m_pTexture},
    {"group/texture", "normalmap", &T::m_pNormalMap},
    {"group/texture", "transparency", &T::m_iTransparency},
    {"group/texture", "sizeaspect", &T::m_fSizeAspect},
    {"group/texture", "animationsubdiv", &T::m_AnimationSubdiv},
    {"group/texture", "usedframes", &T::m_iUsedFrames},
    {"group/texture", "center", &T::m_vCenter, {BY_HAND}},
    {"group/texture", "hascenter", &T::m_bHasCenter, {BY_HAND}},
    {"group/lighting", "modcolor", &T::m_colModColor},
    {"group/lighting", "usescenebrightness", &T::m_fSceneBrightness, {FACTOR}},
    {"group/lighting", "defaultscenebrightness", &T::m_colDefaultSceneBrightness},
    {"group/lighting", "makecolorgradient", &T::m_bMakeColorGradient},
    {"group/lighting", "modcolor2", &T::m_colModColor2},
    {"group/lighting", "randomcolor", &T::m_strRandomColor},
    {"group/geometry", "meshfile", &T::m_strMeshFile, {PATH}},
    {"group/Shader", "effect", &T::m_strEffect},
    {"group/Shader", "paramstring", &T::m_strParamString},
    {"group/visibility", "boundingbox", &T::m_BoundingBox},
    {"group/visibility", "dynamicInflateInterval", &T::m_fDynamicInflateInterval},
    {"group/visibility", "depthofs", &T::m_fDepthOfs},
    {"group/visibility", "softparticles", &T::m_bSoftParticles},
    {"group/visibility", "alwaysinforeground", &T::m_bAlwaysInForeground},
    {"group/visibility", "handlewhenvisible", &T::m_bHandleWhenVisible},
    {"group/visibility", "filtermask", &T::m_ulFilterMask},
    {"group/visibility", "fadeMode", &T::m_iFadeMode, {NAME, kFadeModes}},
    {"group/visibility", "fadeStart", &T::m_fFadeStart},
    {"group/visibility", "fadeEnd", &T::m_fFadeEnd},
    {"particles/particlesorting", "enabled", &T::m_bSorting},
    {"particles/lifetime", nullptr, &T::m_ParticleLifetime},
    {"particles/color/colorcurve", nullptr, &T::m_pColorCurve},
    {"particles/distortion", "enabled", &T::m_bDistortion},
    {"particles/distortion", "planealigned", &T::m_bPlaneAligned},
    {"particles/distortion/fixlength", nullptr, &T::m_FixLength},
    {"particles/distortion/speedmultiplier", nullptr, &T::m_SpeedMultiplier},
    {"particles/distortion/sizemode", "enabled", &T::m_bSizeMode},
    {"particles/distortion/sizemode", "sizemultiplier", &T::m_vSizeMultiplier},
    {"particles/normal", "enabled", &T::m_bNormal},
    {"particles/normal", "dir", &T::m_vNormalDir},
    {"particles/size/start", nullptr, &T::m_SizeStart},
    {"particles/size/growth", nullptr, &T::m_SizeGrowth},
    {"particles/size/curve", nullptr, &T::m_pSizeCurve},
    {"particles/animation", "mode", &T::m_iAnimationMode},
    {"particles/animation", "startrandomframe", &T::m_bStartRandomFrame},
    {"particles/animation", "smooth", &T::m_bSmoothAnimation},
    {"particles/animation/animtime", nullptr, &T::m_AnimTime},
    {"particles/speed", nullptr, &T::m_Speed},
    {"particles/rotation", "mode", &T::m_iRotationMode, {NAME, kRotationModes}},
    {"particles/rotation", "initialangle", &T::m_vInitialAngle},
    {"particles/rotation", "rotationspeed", &T::m_vRotationSpeed},
    {"particles/rotation", "curveduration", &T::m_fCurveDuration},
    {"particles/rotation", "randomcurveofs", &T::m_bRandomCurveOfs},
    {"particles/physics", "gravity", &T::m_vGravity, {BY_HAND}},
    {"particles/physics", "friction", &T::m_fFriction},
    {"particles/physics", "emitterspeed", &T::m_fEmitterSpeed},
    {"particles/physics", "constraintbitmask", &T::m_ulConstraintBitmask},
    {"particles/physics", "gravityinertia", &T::m_bGravityInertia},
    {"particles/physics/inertia", nullptr, &T::m_Inertia},
    {"particles/ondestroy", "repeat", &T::m_bRepeatOnDestroy},
    {"particles/ondestroy/newparticlecount", nullptr, &T::m_NewParticleCount},
    {"particles/ondestroy/newparticletype", "groupname", &T::m_strNewParticleGroup},
    {"particles/ondestroy/newparticletype", "copyflags", &T::m_iCopyFlags},
    {"optional/customcurve", nullptr, &T::m_pCustomCurve},
    {"optional/customcolorcurve", nullptr, &T::m_pCustomColorCurve},
    {"optional", "customInt", &T::m_iCustomInt},
};

// The text of an attribute of the element at a path below the group descriptor, or null.
const char* AttributeAt(const rapidxml::xml_node<>& element, std::string_view path, const char* attribute)
{
    return KvXmlAttributeText(KvParticleElementAt(element, path), attribute);
}
} // namespace

KvParticleGroupDescriptor::~KvParticleGroupDescriptor()
{
    delete m_pPositionCurve;
    delete m_pOrientationCurve;
    delete m_pTexture;
    delete m_pNormalMap;
    delete m_pColorCurve;
    delete m_pSizeCurve;
    delete m_pCustomCurve;
    delete m_pCustomColorCurve;
}

bool KvParticleGroupDescriptor::Read(const rapidxml::xml_node<>& element, KvImportBudget& budget)
{
    if (!KvReadParticleSettings<T>(*this, element, kSettings, budget))
        return false;
    if (m_iUsedFrames < 0)
    {
        const int64_t frames = int64_t{m_AnimationSubdiv.m_iX} * m_AnimationSubdiv.m_iY;
        m_iUsedFrames = static_cast<int32_t>(std::clamp<int64_t>(frames, std::numeric_limits<int32_t>::min(),
                                                                 std::numeric_limits<int32_t>::max()));
    }
    m_bHasCenter = ReadList(AttributeAt(element, "group/texture", "center"), m_vCenter) > 0;
    ReadFloat(AttributeAt(element, "group/lighting", "applyscenebrightness"), m_fSceneBrightness);
    // A single number is the gravity along the vertical axis.
    KvVector3 gravity = m_vGravity;
    if (ReadList(AttributeAt(element, "particles/physics", "gravity"), gravity) == 1)
        gravity = {0.0f, 0.0f, gravity.x};
    m_vGravity = gravity;
    if (m_pSizeCurve && m_SizeStart.m_fAverage != 1.0f)
        m_SizeStart = {1.0f, 0.0f};
    return true;
}

KV_BEGIN_SCHEMA(KvParticleGroupDescriptor, ObjectConstructor)
KvDeclareParticleSettings<T>(schema, kSettings);
KV_END_SCHEMA()
