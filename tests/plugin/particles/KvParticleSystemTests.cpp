#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "store/KvJsonStore.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvPluginHost.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace
{
using Json = KvJsonStore::Json;
using Raw = KvProjectData_Core_Raw_ParticleSystem;

// An effect text imported and bound as the host does it, and the effect as `kvres show --bind`
// prints it.
class BoundEffect
{
public:
    explicit BoundEffect(const std::string& text) : m_Run(m_Importer, BytesOf(text))
    {
        // The host names the raw data after the resource.
        GetRaw()->m_strName = "particles\\test";
        m_uiCode = m_Binder.Bind(nullptr, nullptr, GetRaw());
    }

    Raw* GetRaw() const { return m_Run.Raw<Raw>(); }
    const KvParticleEffectFile& GetEffect() const { return *GetRaw()->m_pEffect; }
    Json Saved() const
    {
        return KvJsonStore::Save(KvParticleEffectFile::GetReflectedDataType(), &GetEffect());
    }

    KvResourceImporter_ParticleSystem m_Importer;
    KvResourceBinder_ParticleSystem m_Binder;
    ImportRun m_Run;
    uint32_t m_uiCode = 0;
};

std::string Layer(const std::string& groups)
{
    return "<particlelayer>" + groups + "</particlelayer>";
}

// The one group descriptor of an effect whose group holds the given elements, as JSON.
Json Group(const std::string& elements)
{
    const Json effect = BoundEffect(Layer("<groupdescriptor>" + elements + "</groupdescriptor>")).Saved();
    return effect.at("groupdescriptor").at(0);
}

std::string Range(const char* average, const char* variation)
{
    return std::string(R"({"$type": "KvParticleRange", "average": )") + average +
           ", \"variation\": " + variation + "}";
}

struct tExpected
{
    const char* m_szMember;
    std::string m_strJson;
};

void ExpectMembers(const Json& object, const std::vector<tExpected>& expected)
{
    // "$type" and every member, each checked.
    EXPECT_EQ(object.size(), expected.size() + 1);
    for (const tExpected& member : expected)
    {
        ASSERT_TRUE(object.contains(member.m_szMember)) << member.m_szMember;
        EXPECT_EQ(object[member.m_szMember], Json::parse(member.m_strJson)) << member.m_szMember;
    }
}

const char* const kWhite = "[255, 255, 255, 255]";
const char* const kAllBits = "4294967295";
} // namespace

// The values before parsing, from the tables of the effect format; the settings the tables leave
// out are off, empty, zero or without an object.
TEST(ParticleEffect, EveryValueBeforeParsing)
{
    const std::vector<tExpected> group = {
        {"description.name", R"("")"},
        {"description.description", R"("")"},
        {"group.topology", "99"},
        {"group.localspace", "false"},
        {"group.localpos", "[0, 0, 0]"},
        {"group.localori", "[0, 0, 0]"},
        {"group.tcurvetime", "1.0"},
        {"group.tcurveradius", "1.0"},
        {"group.usetcurve", "false"},
        {"group.positioncurve", "null"},
        {"group.orientationcurve", "null"},
        {"group.groupsorting.sortkey", "0"},
        {"group.lifetime", Range("-1.0", "0")},
        {"group.timescale", Range("1.0", "0")},
        {"group.delay", Range("0", "0")},
        {"group.texture.filename", "null"},
        {"group.texture.normalmap", "null"},
        {"group.texture.transparency", "3"},
        {"group.texture.sizeaspect", "1.0"},
        {"group.texture.animationsubdiv", R"({"$type": "KvParticleInt2", "x": 1, "y": 1})"},
        {"group.texture.usedframes", "1"},
        {"group.texture.center", "[0.5, 0.5]"},
        {"group.texture.hascenter", "false"},
        {"group.lighting.modcolor", kWhite},
        {"group.lighting.usescenebrightness", "0.0"},
        {"group.lighting.defaultscenebrightness", kWhite},
        {"group.lighting.makecolorgradient", "false"},
        {"group.lighting.modcolor2", kWhite},
        {"group.lighting.randomcolor", R"("")"},
        {"group.geometry.meshfile", R"("")"},
        {"group.Shader.effect", R"("")"},
        {"group.Shader.paramstring", R"("")"},
        {"group.visibility.boundingbox", R"({"$type": "KvParticleBox",
            "min": [3.4028235e38, 3.4028235e38, 3.4028235e38],
            "max": [-3.4028235e38, -3.4028235e38, -3.4028235e38]})"},
        {"group.visibility.dynamicInflateInterval", "1.0"},
        {"group.visibility.depthofs", "0"},
        {"group.visibility.softparticles", "false"},
        {"group.visibility.alwaysinforeground", "false"},
        {"group.visibility.handlewhenvisible", "false"},
        {"group.visibility.filtermask", kAllBits},
        {"group.visibility.fadeMode", "0"},
        {"group.visibility.fadeStart", "1000.0"},
        {"group.visibility.fadeEnd", "2000.0"},
        {"particles.particlesorting.enabled", "false"},
        {"particles.lifetime", Range("5.0", "0.3")},
        {"particles.color.colorcurve", "null"},
        {"particles.distortion.enabled", "false"},
        {"particles.distortion.planealigned", "false"},
        {"particles.distortion.fixlength", Range("-1.0", "0")},
        {"particles.distortion.speedmultiplier", Range("0.5", "0.1")},
        {"particles.distortion.sizemode.enabled", "false"},
        {"particles.distortion.sizemode.sizemultiplier", "[0, 0, 0, 0]"},
        {"particles.normal.enabled", "false"},
        {"particles.normal.dir", "[0, 0, 0, 0]"},
        {"particles.size.start", Range("5.0", "0.5")},
        {"particles.size.growth", Range("5.0", "0.5")},
        {"particles.size.curve", "null"},
        {"particles.animation.mode", "0"},
        {"particles.animation.startrandomframe", "false"},
        {"particles.animation.smooth", "false"},
        {"particles.animation.animtime", Range("2.0", "0.3")},
        {"particles.speed", Range("100.0", "0.5")},
        {"particles.rotation.mode", "0"},
        {"particles.rotation.initialangle", "[0, 0]"},
        {"particles.rotation.rotationspeed", "[0, 0]"},
        {"particles.rotation.curveduration", "-1.0"},
        {"particles.rotation.randomcurveofs", "false"},
        {"particles.physics.gravity", "[0, 0, 0]"},
        {"particles.physics.friction", "0.5"},
        {"particles.physics.emitterspeed", "0"},
        {"particles.physics.constraintbitmask", kAllBits},
        {"particles.physics.gravityinertia", "true"},
        {"particles.physics.inertia", Range("0", "0")},
        {"particles.ondestroy.repeat", "false"},
        {"particles.ondestroy.newparticlecount", Range("-1.0", "0")},
        {"particles.ondestroy.newparticletype.groupname", R"("")"},
        {"particles.ondestroy.newparticletype.copyflags", "1"},
        {"optional.customcurve", "null"},
        {"optional.customcolorcurve", "null"},
        {"optional.customInt", "0"},
        {"defaultemitter", "{}"},
    };
    const std::vector<tExpected> emitter = {
        {"type", "0"},
        {"radius", "0"},
        {"boxdim", "[0, 0, 0]"},
        {"planedim", "[0, 0]"},
        {"length", "0"},
        {"mask", R"("")"},
        {"startupfillpercentage", Range("-1.0", "0")},
        {"fixparticlecount", Range("-1.0", "0")},
        {"frequency", Range("20.0", "0")},
        {"countlookup.curve", "null"},
        {"countlookup.time", "10.0"},
        {"countlookup.randomofs", "false"},
        {"countlookup.offsets", "[0, 0]"},
        {"direction.coneangle", "[-1.0, 0]"},
        {"direction.conemode", "0"},
    };
    for (const char* elements : {"", "<defaultemitter/>"})
    {
        SCOPED_TRACE(elements);
        Json saved = Group(elements);
        ExpectMembers(saved["defaultemitter"], emitter);
        saved["defaultemitter"] = Json::object();
        ExpectMembers(saved, group);
    }
}

// Each value form at its edges: one setting of a group (or of its emitter) and what it holds.
TEST(ParticleEffect, ValueForms)
{
    const struct
    {
        const char* m_szElements;
        const char* m_szPointer;
        std::string m_strExpected;
    } cases[] = {
        // Flags in any case; other texts leave them.
        {R"(<group usetcurve="tRuE"/>)", "/group.usetcurve", "true"},
        {R"(<group usetcurve="1"/>)", "/group.usetcurve", "true"},
        {R"(<particles><physics gravityinertia="False"/></particles>)", "/particles.physics.gravityinertia",
         "false"},
        {R"(<particles><physics gravityinertia="0"/></particles>)", "/particles.physics.gravityinertia",
         "false"},
        {R"(<particles><physics gravityinertia="no"/></particles>)", "/particles.physics.gravityinertia",
         "true"},
        {R"(<particles><physics gravityinertia=""/></particles>)", "/particles.physics.gravityinertia",
         "true"},
        // Floats beyond single precision or denormal are 0.
        {R"(<group tcurvetime="2.5"/>)", "/group.tcurvetime", "2.5"},
        {R"(<group tcurvetime="1e39"/>)", "/group.tcurvetime", "0"},
        {R"(<group tcurvetime="1e-40"/>)", "/group.tcurvetime", "0"},
        // Ranges, each half read on its own.
        {R"(<group><lifetime average="2.5" variation="0.25"/></group>)", "/group.lifetime/average", "2.5"},
        {R"(<group><timescale variation="2"/></group>)", "/group.timescale", Range("1.0", "2.0")},
        // Texts unchanged; file paths lower case without leading "..\".
        {R"(<group><Shader effect="Particles.FX"/></group>)", "/group.Shader.effect", R"("Particles.FX")"},
        {R"(<group><texture filename="..\..\Textures\Smoke.DDS"/></group>)",
         "/group.texture.filename/filename", R"("textures\\smoke.dds")"},
        {R"(<group><geometry meshfile="..\Rocks\..\A.VMESH"/></group>)", "/group.geometry.meshfile",
         R"("rocks\\..\\a.vmesh")"},
        // Lists stop at the first item that does not convert, or that no "," leads to.
        {R"(<group localpos="1,x,3"/>)", "/group.localpos", "[1, 0, 0]"},
        {R"(<group localpos="1, 2,3,4"/>)", "/group.localpos", "[1, 2, 3]"},
        {R"(<group localpos="1 ,2"/>)", "/group.localpos", "[1, 0, 0]"},
        {R"(<group><texture animationsubdiv="0x10,010"/></group>)", "/group.texture.animationsubdiv/y", "8"},
        {R"(<group><texture transparency="-7.9"/></group>)", "/group.texture.transparency", "-7"},
        {R"(<group><texture transparency="2147483648"/></group>)", "/group.texture.transparency",
         "2147483647"},
        {R"(<group><visibility filtermask="ff00"/></group>)", "/group.visibility.filtermask", "65280"},
        {R"(<group><visibility filtermask="0x1FFFFFFFF"/></group>)", "/group.visibility.filtermask",
         kAllBits},
        {R"(<group><visibility filtermask="zz"/></group>)", "/group.visibility.filtermask", kAllBits},
        {R"(<group><lighting modcolor="10,300,-4,oops"/></group>)", "/group.lighting.modcolor",
         "[10, 255, 0, 255]"},
        {R"(<group><visibility boundingbox="-1,-2,-3,1,2,3"/></group>)", "/group.visibility.boundingbox/max",
         "[1, 2, 3]"},
        {R"(<group><texture center="0.25"/></group>)", "/group.texture.center", "[0.25, 0.5]"},
        {R"(<group><texture center="0.25"/></group>)", "/group.texture.hascenter", "true"},
        {R"(<group><texture center="x"/></group>)", "/group.texture.hascenter", "false"},
        {R"(<defaultemitter><direction coneangle="30"/></defaultemitter>)",
         "/defaultemitter/direction.coneangle", "[30, 0]"},
        // A single gravity number is vertical.
        {R"(<particles><physics gravity="-9.5"/></particles>)", "/particles.physics.gravity", "[0, 0, -9.5]"},
        {R"(<particles><physics gravity="1,2"/></particles>)", "/particles.physics.gravity", "[1, 2, 0]"},
        // A negative frame count is every frame of the subdivision.
        {R"(<group><texture animationsubdiv="4,2" usedframes="-1"/></group>)", "/group.texture.usedframes",
         "8"},
        {R"(<group><texture animationsubdiv="4,2" usedframes="6"/></group>)", "/group.texture.usedframes",
         "6"},
        // Names without case; unknown ones leave the value, or give the table's value for them.
        {R"(<group topology="TRAIL"/>)", "/group.topology", "5"},
        {R"(<group topology="sprites"/>)", "/group.topology", "99"},
        {R"(<group><visibility fadeMode="FOG"/></group>)", "/group.visibility.fadeMode", "1"},
        {R"(<group><visibility fadeMode="dense"/></group>)", "/group.visibility.fadeMode", "0"},
        {R"(<particles><rotation mode="Curve"/></particles>)", "/particles.rotation.mode", "2"},
        {R"(<particles><rotation mode="spin"/></particles>)", "/particles.rotation.mode", "0"},
        {R"(<defaultemitter type="BOX"/>)", "/defaultemitter/type", "2"},
        {R"(<defaultemitter type="cloud"/>)", "/defaultemitter/type", "-1"},
        {R"(<defaultemitter><direction conemode="Pitch"/></defaultemitter>)",
         "/defaultemitter/direction.conemode", "2"},
        {R"(<defaultemitter><direction conemode="cone"/></defaultemitter>)",
         "/defaultemitter/direction.conemode", "0"},
        // Only the extent of the emitter's own shape is read.
        {R"(<defaultemitter type="sphere" radius="2" length="3"/>)", "/defaultemitter/radius", "2"},
        {R"(<defaultemitter type="sphere" radius="2" length="3"/>)", "/defaultemitter/length", "0"},
        {R"(<defaultemitter type="box" radius="2" boxdim="1,2,3"/>)", "/defaultemitter/radius", "0"},
        {R"(<defaultemitter type="box" radius="2" boxdim="1,2,3"/>)", "/defaultemitter/boxdim", "[1, 2, 3]"},
        {R"(<defaultemitter type="plane" planedim="4,5"/>)", "/defaultemitter/planedim", "[4, 5]"},
        {R"(<defaultemitter type="ray" length="7" boxdim="1"/>)", "/defaultemitter/length", "7"},
        // The scene-brightness factor: a flag, then a float over it.
        {R"(<group><lighting usescenebrightness="TRUE"/></group>)", "/group.lighting.usescenebrightness",
         "1"},
        {R"(<group><lighting usescenebrightness="maybe"/></group>)", "/group.lighting.usescenebrightness",
         "0"},
        {R"(<group><lighting usescenebrightness="1" applyscenebrightness="0.5"/></group>)",
         "/group.lighting.usescenebrightness", "0.5"},
        // A size curve makes the start 1 / 0 unless its average is 1.
        {R"(<particles><size><start average="3" variation="1"/><curve/></size></particles>)",
         "/particles.size.start", Range("1", "0")},
        {R"(<particles><size><start average="1" variation="0.5"/><curve/></size></particles>)",
         "/particles.size.start/variation", "0.5"},
        {R"(<particles><size><start average="3" variation="1"/></size></particles>)",
         "/particles.size.start/average", "3"},
    };
    for (const auto& test : cases)
    {
        const Json group = Group(test.m_szElements);
        EXPECT_EQ(group.at(Json::json_pointer(test.m_szPointer)), Json::parse(test.m_strExpected))
            << test.m_szElements << " " << test.m_szPointer;
    }
}

// Curve points with their tangents; points beyond "numpoints" are ignored, however large it is.
TEST(ParticleEffect, CurvesKeepAtMostTheirPointCount)
{
    const Json curve = Group(R"(<group><positioncurve numpoints="2"><point pos="1,2" t_in="3,4" t_out="5,6"/>
        <point pos="7"/><point pos="9,9"/></positioncurve></group>)")["group.positioncurve"];
    EXPECT_EQ(curve, Json::parse(R"({"$type": "KvPositionCurve", "point": [
        {"$type": "KvCurvePoint", "pos": [1, 2], "t_in": [3, 4], "t_out": [5, 6]},
        {"$type": "KvCurvePoint", "pos": [7, 0], "t_in": [0, 0], "t_out": [0, 0]}]})"));
    const struct
    {
        const char* m_szCount;
        size_t m_uiPoints;
    } counts[] = {
        {R"(numpoints="2147483648")", 2}, {R"(numpoints="-1")", 0}, {"", 0}, {R"(numpoints="1")", 1}};
    for (const auto& test : counts)
    {
        const std::string colour = std::string("<particles><color><colorcurve><curve_green ") +
                                   test.m_szCount +
                                   R"(><point/><point/></curve_green></colorcurve></color></particles>)";
        const Json colourCurve = Group(colour)["particles.color.colorcurve"];
        EXPECT_EQ(colourCurve["curve_green"]["point"].size(), test.m_uiPoints) << test.m_szCount;
        EXPECT_TRUE(colourCurve["curve_red"].is_null());
    }
}

TEST(ParticleEffect, GroupsInDocumentOrderUnderTheLayerOnly)
{
    const BoundEffect bound(Layer(R"(<groupdescriptor><description name="smoke"/></groupdescriptor><other/>
        <groupdescriptor><description name="sparks"/></groupdescriptor>)") +
                            "<groupdescriptor/>");
    const Json saved = bound.Saved();
    EXPECT_EQ(saved["name"], "particles\\test");
    ASSERT_EQ(saved["groupdescriptor"].size(), 2u);
    EXPECT_EQ(saved["groupdescriptor"][0]["description.name"], "smoke");
    EXPECT_EQ(saved["groupdescriptor"][1]["description.name"], "sparks");
}

// Sources the effect cannot be read from bind to an effect without groups and say why.
TEST(ParticleEffect, UnreadableSources_LoggedAndWithoutGroups)
{
    static_assert(sizeof(KvParticleGroupDescriptor) > 400, "empty groups must cost more than their text");
    std::string manyGroups;
    for (int index = 0; index < 20000; ++index)
        manyGroups += "<groupdescriptor/>";
    const std::string crowded = Layer(manyGroups);
    std::string nested;
    for (int level = 0; level < 300; ++level)
        nested = "<a>" + nested + "</a>";
    const std::string noLayer = "Particle effect 'particles\\test' has no particlelayer element";
    const struct
    {
        std::string m_strText;
        const char* m_szFile;
        const char* m_szFunction;
        std::string m_strMessage;
    } cases[] = {
        {"", "particles\\KvParticleEffectFile", "KvParticleEffectFile::KvParticleEffectFile", noLayer},
        {"<effect><groupdescriptor/></effect>", "particles\\KvParticleEffectFile",
         "KvParticleEffectFile::KvParticleEffectFile", noLayer},
        {Layer("<groupdescriptor>" + nested + "</groupdescriptor>"), "Toolbox\\KvToolboxXML",
         "KvXmlDocument::IsParseable",
         "Ignoring XML source 'KvIOStream_Memory': it nests elements deeper than 256 levels"},
        // The stored text with its zero byte.
        {crowded, "particles\\KvParticleEffectFile", "KvParticleEffectFile::KvParticleEffectFile",
         "Ignoring particles\\test: importing its " + std::to_string(crowded.size() + 1) +
             " bytes would take more than 10 times as many and 2097152 more"},
    };
    for (const auto& test : cases)
    {
        RecordingLog log;
        const BoundEffect bound(test.m_strText);
        EXPECT_TRUE(bound.GetEffect().m_apGroupDescriptors.empty());
        ASSERT_EQ(log.m_aEntries.size(), 1u) << test.m_strMessage;
        EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                    ContainsReportFrom(test.m_szFile, test.m_szFunction, test.m_strMessage));
    }
}

// Malformed XML is the fatal parse error; raised, it leaves the effect bound before.
TEST(ParticleEffect, MalformedXml_FatalAndTheEarlierEffectKept)
{
    BoundEffect bound(Layer("<groupdescriptor/>"));
    const KvParticleEffectFile* pEarlier = bound.GetRaw()->m_pEffect;
    bound.GetRaw()->m_acParticleBin = BytesOf("<particlelayer><groupdescriptor>");
    bound.GetRaw()->m_acParticleBin.push_back(0);
    const std::string report =
        RaisedFatalReport([&] { bound.m_Binder.Bind(nullptr, nullptr, bound.GetRaw()); });
    EXPECT_THAT(report, ::testing::HasSubstr("Parse error : unexpected end of data"));
    EXPECT_EQ(bound.GetRaw()->m_pEffect, pEarlier);
}

// The emitter draws its count lookup's two offsets from the plug-in's generator, which starts at
// seed 123456 in a fresh process: the first two draws there are 0x26F9F803 and 0xD92282BA, whose
// bits 8 to 22 make 0.304473876953125 and 0.69635009765625.
TEST(ParticleEffect, RandomCountLookupOffsetsFromTheSharedGenerator)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto drawsFromTheSequence = []
    {
        const Json none = Group(R"(<defaultemitter><countlookup randomofs="false"/></defaultemitter>)");
        const Json drawn = Group(R"(<defaultemitter><countlookup randomofs="TRUE"/></defaultemitter>)");
        const Json& offsets = drawn["defaultemitter"]["countlookup.offsets"];
        return none["defaultemitter"]["countlookup.offsets"] == Json::parse("[0, 0]") &&
               offsets[0].get<float>() == 0.304473876953125f && offsets[1].get<float>() == 0.69635009765625f;
    };
    EXPECT_EXIT(std::_Exit(drawsFromTheSequence() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(ParticleBinder, ResultCodesAndTheStoredEffect)
{
    BoundEffect bound(Layer("<groupdescriptor/>"));
    EXPECT_EQ(bound.m_uiCode, 4u);
    EXPECT_EQ(bound.m_Binder.GetIdleState(), 3u);
    bound.GetRaw()->m_strName = "effects\\fire";
    EXPECT_EQ(bound.m_Binder.Bind(nullptr, nullptr, bound.GetRaw()), 4u);
    EXPECT_EQ(bound.GetEffect().m_strName, "effects\\fire");
    EXPECT_EQ(bound.GetEffect().m_apGroupDescriptors.size(), 1u);
    const KvBoundObject shown = bound.m_Binder.GetBoundObject(bound.GetRaw());
    EXPECT_EQ(shown.m_pObject, &bound.GetEffect());
    EXPECT_EQ(shown.m_pType, KvParticleEffectFile::GetReflectedDataType());
    // Raw data loaded without its bytes still binds.
    bound.GetRaw()->m_acParticleBin.clear();
    RecordingLog log;
    EXPECT_EQ(bound.m_Binder.Bind(nullptr, nullptr, bound.GetRaw()), 4u);
    EXPECT_TRUE(bound.GetEffect().m_apGroupDescriptors.empty());
}

TEST(ParticleImport, TheFileThenOneZeroByte)
{
    RecordingLog log;
    for (const std::string& text : {Layer("<groupdescriptor/>"), std::string()})
    {
        const BoundEffect bound(text);
        std::vector<uint8_t> expected = BytesOf(text);
        expected.push_back(0);
        EXPECT_EQ(bound.GetRaw()->m_acParticleBin, expected);
    }
}

// The importer right after the interface importer, then the binder, with exactly the particle
// system's descriptor and two null arguments. Which XML it takes is checked end to end.
TEST(ParticleRegistration, ImporterInItsSlotAndBinderForTheParticleSystem)
{
    const std::vector<KvResourceImporter*> importers = PluginHost().GetImporters().GetImporters();
    ASSERT_GE(importers.size(), 2u);
    EXPECT_EQ(importers[1]->GetResourceType(), KvResourcePlugin_Core_ParticleSystem::GetStaticDescriptor());
    EXPECT_STREQ(importers[1]->GetExtension(), "xml");

    struct RecordingBinders : KvResourceBinderRegistry
    {
        void Register(const KvResourceDescriptor* pDescriptor, void* pFirst, void* pSecond,
                      KvResourceBinder* pBinder) override
        {
            m_aCalls.push_back({pDescriptor, pFirst, pSecond});
            delete pBinder;
        }
        std::vector<std::tuple<const KvResourceDescriptor*, void*, void*>> m_aCalls;
    } binders;
    KvResourceHost host;
    KvResourcePlugin::tInitContext context = host.GetInitContext();
    context.m_pBinders = &binders;
    KvResourcePlugin_Core().InitializeReferences(context);
    ASSERT_EQ(binders.m_aCalls.size(), 1u);
    EXPECT_EQ(binders.m_aCalls[0],
              std::make_tuple(KvResourcePlugin_Core_ParticleSystem::GetStaticDescriptor(), nullptr, nullptr));
}
