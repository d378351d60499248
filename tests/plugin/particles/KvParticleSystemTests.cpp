#include "host/KvResourceHost.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "store/KvJsonStore.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
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
} // namespace

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

// The effect a binder made, named after the raw data, is what the import cases show; what they
// do not meet is the binder's codes and raw data loaded without its bytes, which still binds.
TEST(ParticleBinder, ResultCodesAndRawDataWithoutItsBytes)
{
    BoundEffect bound(Layer("<groupdescriptor/>"));
    EXPECT_EQ(bound.m_uiCode, 4u);
    EXPECT_EQ(bound.m_Binder.GetIdleState(), 3u);
    bound.GetRaw()->m_acParticleBin.clear();
    RecordingLog log;
    EXPECT_EQ(bound.m_Binder.Bind(nullptr, nullptr, bound.GetRaw()), 4u);
    EXPECT_TRUE(bound.GetEffect().m_apGroupDescriptors.empty());
}

// The binder is registered with exactly the particle system's descriptor and two null arguments.
TEST(ParticleRegistration, BinderForTheParticleSystem)
{
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
