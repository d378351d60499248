// Import throughput, each beside the bare work it stands on: DDS import against a plain copy
// of the same bytes, XML imports (fonts, input maps, prefabs) and the particle binder's parse
// against RapidXML's bare parse of the same text (and the pass that bounds the parse before it runs), the
// string table against a bare search for its line ends.
#include "IO/KvIOStream_Memory.h"
#include "host/KvResourceHost.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "testaccess/KvFoundationTestAccess.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <benchmark/benchmark.h>
#include <rapidxml/rapidxml.hpp>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t kSize = 4096;

// A 4096x4096 32-bit DDS with its full mip chain, in RGBA order or blue first.
std::vector<uint8_t> MakeDds(bool bBlueFirst)
{
    std::vector<uint8_t> file(128, 0);
    auto put = [&file](size_t offset, uint32_t value)
    {
        std::memcpy(file.data() + offset, &value, 4);
    };
    put(0, 0x20534444);
    put(4, 124);
    put(12, kSize);
    put(16, kSize);
    put(28, 13);
    put(80, 0x41);
    put(88, 32);
    put(92, bBlueFirst ? 0x00FF0000 : 0x000000FF);
    put(96, 0x0000FF00);
    put(100, bBlueFirst ? 0x000000FF : 0x00FF0000);
    put(104, 0xFF000000);
    uint64_t pixels = 0;
    for (uint32_t mip = 0; mip < 13; ++mip)
        pixels += (uint64_t(kSize) * kSize * 4) >> (2 * mip);
    file.resize(128 + pixels, 0x5A);
    return file;
}

// Imports the bytes once and releases what came back.
void ImportOnce(KvResourceImporter& importer, std::vector<uint8_t>& bytes)
{
    KvResource resource;
    resource.SetName("bench");
    KvIOStream_Memory stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    void* pPayload = nullptr;
    void* pRaw = importer.ConvertToRaw(pPayload, &resource, &stream, nullptr);
    benchmark::DoNotOptimize(pRaw);
    const KvResourceDescriptor* pDescriptor = importer.GetResourceType();
    KvReflectionInterface::GetInstance()->DestroyObject(pDescriptor->GetRootDataType(), pRaw);
    if (pPayload)
        KvReflectionInterface::GetInstance()->DestroyObject(pDescriptor->GetPayloadDataType(), pPayload);
}

// Goal: reordered at most 1.25x the copy below. RelWithDebInfo, CPU time, 2 cores shared:
//   before  233 ms against a copy of 274 ms into one fresh 89 MB buffer (the copy paid page faults
//           the import's smaller buffers did not, so the ratio looked below 1)
//   after   215 ms against 212 ms for the same per-mip copies: 1.01x (203 ms without reordering)
// Profile (callgrind, instructions; shares of one import, the file's making included before):
//   before  87% ConvertToRaw (the byte-at-a-time reorder, a second pass over each mip), 23% memset
//   after   48% ConvertToRaw (vectorised reorder of each block while it is in the cache),
//           26% memset (zeroing each mip as it is sized), 26% memcpy (the stream's read, block
//           by block, which callgrind counts per byte)
void BM_DdsImport(benchmark::State& state)
{
    std::vector<uint8_t> file = MakeDds(state.range(0) != 0);
    KvResourceImporter_DDS importer;
    for (auto _ : state)
        ImportOnce(importer, file);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_DdsImport)->Arg(0)->Arg(1)->ArgNames({"reordered"})->Unit(benchmark::kMillisecond);

// The same memory work as the import's: each mip copied into a fresh buffer of its own, zeroed
// as it is sized, so that both sides pay the same page faults.
void BM_MemcpyOfTheDdsBytes(benchmark::State& state)
{
    const std::vector<uint8_t> file = MakeDds(false);
    for (auto _ : state)
    {
        std::vector<std::vector<uint8_t>> mips;
        size_t offset = 128;
        for (uint32_t mip = 0; mip < 13; ++mip)
        {
            std::vector<uint8_t>& copy = mips.emplace_back((size_t(kSize) * kSize * 4) >> (2 * mip));
            std::memcpy(copy.data(), file.data() + offset, copy.size());
            offset += copy.size();
        }
        benchmark::DoNotOptimize(mips.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_MemcpyOfTheDdsBytes)->Unit(benchmark::kMillisecond);

std::string LargeFont()
{
    std::string text = "<font><info size=\"32\"/><common scaleW=\"1024\" scaleH=\"1024\"/>"
                       "<pages><page id=\"0\" file=\"f.dds\"/></pages><chars count=\"20000\">";
    for (int index = 0; index < 20000; ++index)
        text +=
            "<char id=\"" + std::to_string(index % 256) + "\" x=\"" + std::to_string(index % 1000) +
            "\" y=\"12\" width=\"8\" height=\"16\" xoffset=\"1\" yoffset=\"2\" xadvance=\"9\" page=\"0\"/>";
    return text + "</chars></font>";
}

std::string LargeInput()
{
    std::string text = "<Input>";
    for (int set = 0; set < 2000; ++set)
        text +=
            "<ElementSet name=\"Set" + std::to_string(set) +
            "\"><Element type=\"button\" button=\"BUTTON_A\"/><Element type=\"key\" button=\"space\"/>"
            "<Element type=\"analog\" control=\"ANALOGCONTROL_MOUSE_X\" trigger_value=\"0.5\"/></ElementSet>";
    for (int command = 0; command < 2000; ++command)
        text += "<Input name=\"C" + std::to_string(command) + "\" typematic=\"yes\"><Set name=\"Set" +
                std::to_string(command) + "\"/></Input>";
    return text + "</Input>";
}

void ImportText(benchmark::State& state, KvResourceImporter& importer, const std::string& text)
{
    std::vector<uint8_t> bytes(text.begin(), text.end());
    for (auto _ : state)
        ImportOnce(importer, bytes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void ParseText(benchmark::State& state, const std::string& text)
{
    for (auto _ : state)
    {
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        rapidxml::xml_document<> document;
        document.parse<0>(buffer.data());
        benchmark::DoNotOptimize(document.first_node());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Goal: at most 1.3x the bare parse. CPU time, median of 5; since the third pass with
// GLIBC_TUNABLES=glibc.malloc.trim_threshold=1073741824:glibc.malloc.mmap_threshold=1073741824,
// because with glibc's defaults both sides hand the parse's pool back and fault it in again on
// every iteration, and on this loaded host those faults alone took 20 ms of either side:
//   first   6.96 ms against 1.81 ms: 3.8x
//   second  3.04 ms against 1.61 ms: 1.9x
//   third   2.21 ms against 1.56 ms: 1.4x (2.39 against 1.70 in another run)
// Profile (callgrind, instructions of one import; the bare parse with its copy takes 33 M):
//   first   115 M: 17% rapidxml parse_node_attributes, 16% + 8% strtod, 16% XmlShape Element (the
//           pre-pass), 3% strchr, nine attribute searches per char
//   second  68 M (2.0x): 30% rapidxml parse_node_attributes, 20% XmlShape Element, 8% ReadDouble,
//           7% rapidxml skip_and_expand_character_refs, 4% memcmp, 4% ReadUnsigned, 3% ReadFloat
//   third   46 M (1.4x): 46% rapidxml parse_node_attributes (no entity translation: the text holds
//           no '&'), 17% KvXmlAttributes (the walk over 180 000 attributes, names compared a word
//           at a time), 8% ReadFloat (whole numbers inline), 6% KvXmlShapeBound::Count (character
//           counts that settle the limits, instead of the measure), 6% ReadUnsigned, 4% memcpy
//           (the stream's read), 4% rapidxml parse_node
// What bounds it: the parse and its copy are over half of the import's instructions; the
// rest is one pass per attribute that the importer must make: finding it by name (8 M),
// converting its text to a number (6 M, mostly one or two digits each), and the vector pass
// that bounds the parse (3 M, a tenth of a millisecond). Reaching 1.3x would need the walk and
// the conversions folded into the parse, which RapidXML offers no hook for.
void BM_FontImport(benchmark::State& state)
{
    KvResourceImporter_Font importer;
    ImportText(state, importer, LargeFont());
}
BENCHMARK(BM_FontImport)->Unit(benchmark::kMillisecond);

void BM_RapidXmlParseOfTheFont(benchmark::State& state)
{
    ParseText(state, LargeFont());
}
BENCHMARK(BM_RapidXmlParseOfTheFont)->Unit(benchmark::kMillisecond);

void BM_XmlShapeOfTheFont(benchmark::State& state)
{
    const std::string text = LargeFont();
    for (auto _ : state)
        benchmark::DoNotOptimize(KvXmlShape::Measure(text.c_str()).GetNodeCount());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_XmlShapeOfTheFont)->Unit(benchmark::kMillisecond);

// The character counts that spare the font the measure above: 0.12 ms against 0.70 ms.
void BM_XmlShapeBoundOfTheFont(benchmark::State& state)
{
    const std::string text = LargeFont();
    for (auto _ : state)
        benchmark::DoNotOptimize(KvXmlShapeBound::Count(text.data(), text.size(), UINT64_MAX).GetNodeCount());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_XmlShapeBoundOfTheFont)->Unit(benchmark::kMillisecond);

// Goal: at most 1.3x the bare parse. CPU time, median of 3 (of 5 since the third pass, with the
// font's tunables):
//   first   2.52 ms against 0.30 ms: 8.4x
//   second  1.92 ms against 0.33 ms: 5.9x
//   third   1.93 ms against 0.32 ms: 6.0x
// Profile (callgrind, instructions of one import and release; the bare parse takes 7 M):
//   first   35 M: 10% XmlShape Element, 8% rapidxml parse_node_attributes, 8% + 7% + 4%
//           malloc/free, 5% memcmp, 4% std::set insert (tree release), six attribute searches per
//           Element
//   second  28.6 M: 11% XmlShape Element, 10% rapidxml parse_node_attributes, 7% memcmp (set names
//           in the map), 6% + 5% + 2% malloc/free
//   third   28.1 M: 12% rapidxml parse_node_attributes, 12% XmlShape Element, 6% + 5% + 2%
//           malloc/free, 5% memcmp (set names in the map, now ordered by length first),
//           3% KvXmlAttributes
// What bounds it: the parse is a quarter of the instructions; the rest is the 10 000 objects,
// strings and map entries the translator is made of and their release, at a low instruction
// rate (the CPU time ratio is twice the instruction ratio): object work, not text work. The
// measure still runs: 4 000 element sets open and close, so the character counts cannot show
// the depth within the limit, and only a pass that follows the grammar can.
void BM_InputImport(benchmark::State& state)
{
    KvResourceImporter_InputTranslator importer;
    ImportText(state, importer, LargeInput());
}
BENCHMARK(BM_InputImport)->Unit(benchmark::kMillisecond);

void BM_RapidXmlParseOfTheInput(benchmark::State& state)
{
    ParseText(state, LargeInput());
}
BENCHMARK(BM_RapidXmlParseOfTheInput)->Unit(benchmark::kMillisecond);

std::string LargeStringTable()
{
    std::string text;
    for (int entry = 0; entry < 100000; ++entry)
        text += "MENU_ENTRY_" + std::to_string(entry) + "=Some text of the menu\\nin two lines\r\n";
    return text;
}

void BM_StringTableImport(benchmark::State& state)
{
    KvResourceImporter_i18n importer;
    ImportText(state, importer, LargeStringTable());
}
BENCHMARK(BM_StringTableImport)->Unit(benchmark::kMillisecond);

void BM_LineEndSearchOfTheStringTable(benchmark::State& state)
{
    const std::string text = LargeStringTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(std::count(text.begin(), text.end(), '\r'));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LineEndSearchOfTheStringTable)->Unit(benchmark::kMillisecond);

// 10 000 shapes as a level's prefab holds them: named meshes, lights, particle systems and nested
// prefabs, each placed, turned and scaled.
std::string LargePrefab()
{
    const char* files[] = {"<property name=\"MeshFileName\" value=\"Models\\StaticMeshes\\Rock ",
                           "<property name=\"Radius\" value=\"",
                           "<property name=\"EffectFile\" value=\"Particles\\Smoke ",
                           "<property name=\"Filename\" value=\"Prefabs\\Props\\Barrel "};
    const char* classes[] = {"StaticMeshShape", "DynLightShape", "ParticleGroupShape", "PrefabShape"};
    std::string text = "<?xml version=\"1.0\"?><prefab>";
    for (int shape = 0; shape < 10000; ++shape)
    {
        const std::string number = std::to_string(shape);
        text += std::string("<shape class=\"") + classes[shape % 4] +
                "\"><property name=\"ShapeName\" value=\"Shape " + number +
                "\"/><property name=\"Position\" value=\"" + number + ".5,2.25,-" + number +
                "\"/><property name=\"Orientation\" value=\"" + std::to_string(shape % 360) +
                ",10,5\"/><property name=\"Scaling\" value=\"1.5,1.5,1.5\"/>" + files[shape % 4] +
                std::to_string(shape % 50) + ".vmesh\"/></shape>";
    }
    return text + "</prefab>";
}

// The game types the prefab's components are made of, loaded once, as in the tool.
void LoadGameTypes(benchmark::State& state)
{
    static KvResourceHost* const s_pHost = new KvResourceHost();
    if (const KvResult loaded = s_pHost->LoadGameModule(KV_GAME_TYPES_PATH); !loaded)
        state.SkipWithError(loaded.GetReason().c_str());
}

void DestroyPlaceholders(const std::vector<KvTempXRef>& placeholders)
{
    for (const auto& [pObject, pType] : placeholders)
        KvReflectionInterface::GetInstance()->DestroyObject(pType, pObject);
}

// Goal: at most 1.5x the bare parse. CPU time, median of 3:
//   before  175 ms against 1.78 ms: 98x, most of it in libuuid's time generator asking the uuidd
//           socket once per cross-referenced object (system time, invisible to callgrind)
//   after   31.6 ms against 2.14 ms: 15x; the objects alone (BM_ObjectsOfThePrefab) 23.6 ms: 11x
// Profile (callgrind, instructions of one import and release; 321 M before, 227 M after):
//   before  9% + 7% + 4% + 3% malloc/free, 7% + 2% strtof, 5% std::set insert (tree release),
//           4% XmlShape Element, 3% rapidxml parse_node_attributes
//   after   9% + 6% + 4% malloc/free, 9% XmlShape Element, 6% rapidxml parse_node_attributes,
//           3% ReadFloat, 3% rapidxml skip_and_expand_character_refs, 3% memcmp
// Third pass (pointer set tables reused, live objects in a flat map, attribute kinds as a mask,
// hashed type lookup, walks over object-holding members only; XML bound pass and no entity
// translation without an '&'): 22.2 ms against 1.94 ms, 11.4x (a run where everything took
// 1.7x longer gave 37.7 ms against 3.28 ms). Instructions of one import: 152 M -> 149 M, its
// release 58 M -> 54 M.
//   now     8% XmlShape Element (the exact depth pass still runs: shapes nest, so counting
//           characters cannot prove the depth), 8% rapidxml parse_node_attributes,
//           7% + 7% + 3% + 2% malloc/free, 3% ReadFloat
// What bounds it: the actors, transforms, pawns, components, game objects and placeholders that
// the import must make and the host releases; made without any text they take 60% of the
// import's time, and half of their instructions are glibc's malloc and free.
// The placeholders handed over and released too.
void BM_PrefabImport(benchmark::State& state)
{
    LoadGameTypes(state);
    const std::string text = LargePrefab();
    std::vector<uint8_t> bytes(text.begin(), text.end());
    KvResourceImporter_EnginePrefab importer;
    for (auto _ : state)
    {
        ImportOnce(importer, bytes);
        std::vector<KvTempXRef> placeholders;
        importer.AppendTempXRef(placeholders);
        DestroyPlaceholders(placeholders);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PrefabImport)->Unit(benchmark::kMillisecond);

// Profile (callgrind, instructions of one run; 145 M before, 135 M after):
//   before  15% + 11% + 5% malloc/free, 6% malloc_consolidate, 15% KvPointerSet insert (release
//           walk), 15% live-object registration and removal (a tree node and a hash node each)
//   after   14% + 11% + 5% malloc/free, 6% malloc_consolidate, 7% live-object registration and
//           removal (a vector slot and a hash node each), 3.5% KvReflectedPrimitive::HasAttribute
// CPU time, median of 3 on a loaded machine: 23.6 ms before, 18.2 ms after; the prefab import
// 25.8 ms against 2.05 ms: 12.6x.
// Third pass, perf (CPU time) before it: 17% memset and 15% page faults, both from the release
// walk's pointer set zeroing a fresh table at every growth of every walk, 10% its inserts,
// 7% + 4% unlink_chunk and malloc_consolidate, 7% + 4% live-object removal and registration.
// The set now borrows its tables from the thread's spares; live objects sit in a flat map from
// object to slot (no heap node each); attribute kinds are a mask; walks visit only members that
// can hold objects. 13.7 ms after (15.3-18.3 ms before, same machine, same hour).
// Instructions, 20 iterations in steady state: 21.6 M per iteration (22.2 M before walks kept
// to object-holding members);
//   after   16% + 13% + 6% + 4% + 3% + 2.5% _int_malloc, _int_free, malloc, malloc_consolidate,
//           free, unlink_chunk; 4% memset (the set's growth); 3% + 1.5% + 1.7% the release walk;
//           2% GUIDs
// Stamping the set's slots with an epoch instead of zeroing them saved 8% of the instructions
// and was dropped: it doubled the table, and kvres_show_memory's 4 MiB string table of two
// million entries went from 42 MB to 66 MB, over its bound of 56 MB.
// The objects the prefab import must make and the host releases, made without any text: an
// actor per shape with its transform and pawn, its shape and Object3D components with their
// game objects, and a named placeholder for three shapes in four.
void BM_ObjectsOfThePrefab(benchmark::State& state)
{
    LoadGameTypes(state);
    const char* shapeTypes[] = {"KvActorComponent_MeshShape", "KvActorComponent_LightShape",
                                "KvActorComponent_ParticleShape", ""};
    for (auto _ : state)
    {
        auto* pPrefab = KvCreateData<KvProjectData_Core_Raw_ActorPrefab>();
        std::vector<KvTempXRef> placeholders;
        for (int shape = 0; shape < 10000; ++shape)
        {
            auto* pEntry = KvCreateData<KvProjectData_Core_Raw_ActorEntry>();
            pEntry->m_strName = "Shape " + std::to_string(shape);
            for (const char* type : {shapeTypes[shape % 4], "KvActorComponent_Object3D"})
            {
                auto* pComponent = KvCreateData<KvProjectData_Core_Raw_ActorComponent>();
                pComponent->ChooseClass(type);
                pEntry->m_apComponents.push_back(pComponent);
            }
            pPrefab->m_apActors.push_back(pEntry);
            if (shape % 4 == 1)
                continue;
            auto* pMesh = KvCreateData<KvProjectData_Core_Raw_RenderShapeMesh>();
            pMesh->m_strName = "models\\staticmeshes\\rock_" + std::to_string(shape % 50);
            placeholders.emplace_back(pMesh, KvProjectData_Core_Raw_RenderShapeMesh::GetReflectedDataType());
        }
        KvReflectionInterface::GetInstance()->DestroyObject(
            KvProjectData_Core_Raw_ActorPrefab::GetReflectedDataType(), pPrefab);
        DestroyPlaceholders(placeholders);
    }
}
BENCHMARK(BM_ObjectsOfThePrefab)->Unit(benchmark::kMillisecond);

void BM_RapidXmlParseOfThePrefab(benchmark::State& state)
{
    ParseText(state, LargePrefab());
}
BENCHMARK(BM_RapidXmlParseOfThePrefab)->Unit(benchmark::kMillisecond);

// 2 000 group descriptors that set every section, as effect files of a level's particle systems
// hold them: emitters with count curves, textures, colour and size curves, physics.
std::string LargeEffect()
{
    std::string text = "<?xml version=\"1.0\"?><particlelayer>";
    for (int group = 0; group < 2000; ++group)
    {
        const std::string number = std::to_string(group);
        text +=
            "<groupdescriptor><description name=\"Group " + number +
            "\" description=\"Smoke\"/><defaultemitter type=\"Sphere\" radius=\"0." + number +
            "\"><frequency average=\"12\" variation=\"2\"/><countlookup time=\"6\"><curve numpoints=\"3\">"
            "<point pos=\"0,1\" t_in=\"0,0\" t_out=\"0.3,0\"/><point pos=\"0.5,0.6\"/><point pos=\"1,1\"/>"
            "</curve></countlookup><direction coneangle=\"25\" conemode=\"yaw\"/></defaultemitter>"
            "<group topology=\"Billboards\" localpos=\"0,0," +
            number + "\"><lifetime average=\"-1\" variation=\"0\"/><texture filename=\"..\\Textures\\Smoke" +
            number +
            ".dds\" animationsubdiv=\"4,4\" usedframes=\"-1\"/><lighting modcolor=\"180,170,160,200\" "
            "usescenebrightness=\"TRUE\"/><visibility boundingbox=\"-3,-3,0,3,3,8\" fadeMode=\"Fog\"/>"
            "</group><particles><lifetime average=\"5\" variation=\"1.5\"/><color><colorcurve><curve_alpha "
            "numpoints=\"2\"><point pos=\"0,0\"/><point pos=\"1,1\"/></curve_alpha></colorcurve></color>"
            "<size><start average=\"0.6\" variation=\"0.2\"/><curve numpoints=\"2\"><point pos=\"0,0.5\"/>"
            "<point pos=\"1,2\"/></curve></size><speed average=\"0.6\" variation=\"0.2\"/>"
            "<physics gravity=\"0.35\" friction=\"0.4\"/></particles></groupdescriptor>";
    }
    return text + "</particlelayer>";
}

// The binder's parse of the text the importer kept, the effect of the previous bind released.
void BM_ParticleBind(benchmark::State& state)
{
    const std::string text = LargeEffect();
    KvProjectData_Core_Raw_ParticleSystem particles;
    particles.m_acParticleBin.assign(text.begin(), text.end());
    particles.m_acParticleBin.push_back(0);
    KvResourceBinder_ParticleSystem binder;
    for (auto _ : state)
        binder.Bind(nullptr, nullptr, &particles);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParticleBind)->Unit(benchmark::kMillisecond);

void BM_RapidXmlParseOfTheEffect(benchmark::State& state)
{
    ParseText(state, LargeEffect());
}
BENCHMARK(BM_RapidXmlParseOfTheEffect)->Unit(benchmark::kMillisecond);
} // namespace
