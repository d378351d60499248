// A small plug-in for the host's tests: node resources imported from "key=value" text, three
// resource types sharing the "xml" extension and told apart by their root element, a binder and
// a cooker.
#include "Foundation/KvExport.h"
#include "Foundation/KvReport.h"
#include "IO/KvIOStream.h"
#include "TypeManager/KvObjectFactory.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResource.h"
#include "resources/KvResourceBinder.h"
#include "resources/KvResourceCooker.h"
#include "resources/KvResourceDescriptor.h"
#include "resources/KvResourceImporter.h"
#include "resources/KvResourcePlugin.h"
#include "resources/KvSourceProbe.h"
#include "support/KvReflectedData.h"
#include "support/KvTestModel.h"

#include <cstdlib>
#include <filesystem>
#include <new>
#include <sstream>
#include <stdexcept>

namespace
{
class KvTestResource_Node : public KvResource
{
    KV_DECLARE_TYPED_CLASS(KvTestResource_Node, KvResource)
};

class TestDescriptor : public KvResourceDescriptor
{
public:
    TestDescriptor(const char* typeName, const char* shortName, bool bPayload)
        : m_TypeName(typeName), m_ShortName(shortName), m_bPayload(bPayload)
    {
    }
    const char* GetTypeName() const override { return m_TypeName; }
    const char* GetShortName() const override { return m_ShortName; }
    KvTypeInfo* GetResourceClass() const override { return KvTestResource_Node::GetType(); }
    const KvReflectedDataType* GetRootDataType() const override { return KvTestNode::GetReflectedDataType(); }
    const KvReflectedDataType* GetPayloadDataType() const override
    {
        return m_bPayload ? KvTestPayload::GetReflectedDataType() : nullptr;
    }
    bool GetQuery1() const override { return true; }
    bool GetQuery2() const override { return false; }
    bool GetQuery3() const override { return false; }
    uint32_t GetIntegerQuery() const override { return 2; }
    bool GetQuery4() const override { return true; }
    bool GetQuery5() const override { return false; }

private:
    const char* m_TypeName;
    const char* m_ShortName;
    bool m_bPayload;
};

const TestDescriptor s_Node("TestNode", "tnode", true);
const TestDescriptor s_Unregistered("TestUnregistered", "tunregistered", false);
// The XML resource kinds; each shares the extension with the others.
const TestDescriptor s_Particle("Rendering_ParticleSystem", "particle", false);
const TestDescriptor s_Mesh("Rendering_Mesh", "mesh", false);
const TestDescriptor s_Input("InputTranslator", "input", false);

std::string ReadAll(KvIOStream* pSource)
{
    std::string text(pSource->GetSize(), '\0');
    text.resize(pSource->Read(text.data(), text.size()));
    return text;
}

// The exception a "throw=" line raises: what a careless importer or the library under it may
// let escape.
[[noreturn]] void ThrowByName(const std::string& kind)
{
    if (kind == "bad_alloc")
        throw std::bad_alloc();
    if (kind == "length_error")
        throw std::length_error("vector::reserve");
    if (kind == "filesystem_error")
        throw std::filesystem::filesystem_error("cannot stat", std::filesystem::path("/gone"),
                                                std::make_error_code(std::errc::permission_denied));
    if (kind == "runtime_error")
        throw std::runtime_error("bad state");
    throw 42;
}

// Lines "name=", "target=" (a placeholder reference), "payload=", "bytes=" (that many bytes of a
// pattern that repeats only every 251 bytes), "warn" (logs and goes on),
// "silent" (fails without a report), "fail", "fatal", "throw=", "crash" (ends the process).
class NodeImporter : public KvResourceImporter
{
public:
    const KvResourceDescriptor* GetResourceType() const override { return &s_Node; }
    const char* GetExtension() const override { return "tnode"; }
    void* ConvertToRaw(void*& payload, KvResource* pResource, KvIOStream* pSource, void*) override
    {
        auto* pNode = NewNamed<KvTestNode>(pResource->GetName());
        std::istringstream lines(ReadAll(pSource));
        std::string line;
        while (std::getline(lines, line))
        {
            const std::string key = line.substr(0, line.find('='));
            const std::string value =
                line.find('=') == std::string::npos ? "" : line.substr(line.find('=') + 1);
            if (key == "target")
            {
                auto* pPlaceholder = new KvTestTarget();
                pPlaceholder->m_strName = value;
                pNode->m_pTarget = pPlaceholder;
                m_aTempXRefs.emplace_back(pPlaceholder, KvTestTarget::GetReflectedDataType());
            }
            else if (key == "payload")
            {
                auto* pPayload = NewData<KvTestPayload>();
                pPayload->m_slValue = std::stoi(value);
                payload = pPayload;
            }
            else if (key == "bytes")
            {
                pNode->m_acBytes.resize(std::stoul(value));
                for (size_t index = 0; index < pNode->m_acBytes.size(); ++index)
                    pNode->m_acBytes[index] = static_cast<uint8_t>(index % 251);
            }
            else if (key == "warn")
                KvLogReport(3, {"importers\\KvTestImporter", "NodeImporter::ConvertToRaw", 30},
                            "Odd line in %s", pSource->GetName());
            else if (key == "silent")
            {
                DestroyData(pNode);
                return nullptr;
            }
            else if (key == "fail")
            {
                KvLogReport(3, {"importers\\KvTestImporter", "NodeImporter::ConvertToRaw", 10},
                            "Cannot import file %s", pSource->GetName());
                DestroyData(pNode);
                return nullptr;
            }
            else if (key == "fatal")
            {
                // The fatal routine may raise an exception through this frame: free first.
                DestroyData(pNode);
                KvFatalReport({"importers\\KvTestImporter", "NodeImporter::ConvertToRaw", 20},
                              "Broken file %s", pSource->GetName());
            }
            else if (key == "crash")
                std::abort();
            else if (key == "throw")
            {
                DestroyData(pNode);
                ThrowByName(value);
            }
        }
        return pNode;
    }
    void AppendTempXRef(std::vector<KvTempXRef>& outReferences) override
    {
        outReferences.insert(outReferences.end(), m_aTempXRefs.begin(), m_aTempXRefs.end());
        m_aTempXRefs.clear();
    }

private:
    std::vector<KvTempXRef> m_aTempXRefs;
};

// One importer per XML-based type, each taking the sources whose root it recognises; the node it
// makes is named after the type.
class XmlImporter : public KvResourceImporter
{
public:
    using tRecognise = eSourceRecognition (*)(const rapidxml::xml_node<>& root);

    XmlImporter(const TestDescriptor* pDescriptor, tRecognise recognise)
        : m_pDescriptor(pDescriptor), m_Recognise(recognise)
    {
    }
    const KvResourceDescriptor* GetResourceType() const override { return m_pDescriptor; }
    const char* GetExtension() const override { return "xml"; }
    eSourceRecognition RecognizeSource(const KvSourceProbe& source) const override
    {
        const rapidxml::xml_node<>* pRoot = source.GetXmlRoot();
        return pRoot ? m_Recognise(*pRoot) : SOURCE_NOT_TAKEN;
    }
    void* ConvertToRaw(void*&, KvResource*, KvIOStream*, void*) override
    {
        return NewNamed<KvTestNode>(m_pDescriptor->GetTypeName());
    }

private:
    const TestDescriptor* m_pDescriptor;
    tRecognise m_Recognise;
};

class NodeBinder : public KvResourceBinder
{
public:
    uint32_t Bind(void*, void*, void* pRawData) override
    {
        static_cast<KvTestNode*>(pRawData)->m_ulRuntimeOnly = 1234;
        return 4;
    }
    uint32_t GetIdleState() const override { return 3; }
};

class KvTestPlugin : public KvResourcePlugin
{
public:
    void InitializeReferences(const tInitContext& context) override
    {
        KvResource::BindDataTypes();
        context.m_pDescriptors->Register(&s_Node);
        context.m_pImporters->Register(new NodeImporter());
        context.m_pBinders->Register(&s_Node, nullptr, nullptr, new NodeBinder());
        context.m_pCookers->Register(new KvResourceCooker_Passthrough(&s_Node));
        // The one that takes every root by default comes before one that recognises some, which
        // still gets them; the mesh importer is exported without being registered.
        context.m_pDescriptors->Register(&s_Input);
        context.m_pImporters->Register(
            new XmlImporter(&s_Input, [](const rapidxml::xml_node<>&) { return SOURCE_TAKEN_BY_DEFAULT; }));
        context.m_pDescriptors->Register(&s_Particle);
        context.m_pImporters->Register(new XmlImporter(
            &s_Particle, [](const rapidxml::xml_node<>& root)
            { return std::string(root.name()) == "particlelayer" ? SOURCE_RECOGNISED : SOURCE_NOT_TAKEN; }));
        context.m_pDescriptors->Register(&s_Mesh);
    }
    void ExportUnregisteredImporters(KvResourceImporterRegistry& standby) override
    {
        standby.Register(
            new XmlImporter(&s_Mesh, [](const rapidxml::xml_node<>& root)
                            { return root.first_node("Materials") ? SOURCE_RECOGNISED : SOURCE_NOT_TAKEN; }));
    }
    std::vector<const KvResourceDescriptor*> GetUnregisteredDescriptors() const override
    {
        return {&s_Unregistered};
    }
};
} // namespace

KV_IMPLEMENT_TYPED_CLASS(KvTestResource_Node)

extern "C"
{
    KV_EXPORT KvResourcePlugin* KvCreateResourcePlugin()
    {
        return new KvTestPlugin();
    }

    KV_EXPORT void KvDestroyResourcePlugin(KvResourcePlugin* pPlugin)
    {
        delete pPlugin;
    }
}
