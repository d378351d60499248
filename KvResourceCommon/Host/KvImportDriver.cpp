#include "Host/KvImportDriver.h"

#include "Foundation/KvLog.h"
#include "Host/KvExceptionReason.h"
#include "Host/KvResourceHost.h"
#include "IO/KvIOStream_File.h"
#include "Reflection/KvObjectTree.h"
#include "Reflection/KvReflectedDataType.h"
#include "Reflection/KvReflectionInterface.h"
#include "Resources/KvResourceDescriptor.h"
#include "Toolbox/KvToolboxXML.h"
#include "TypeManager/KvTypeManager.h"

#include <algorithm>
#include <filesystem>

namespace
{
// The extension of a source path without its dot; empty when it has none.
std::string ExtensionOf(const std::string& sourcePath)
{
    std::string extension = std::filesystem::path(sourcePath).extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    return extension;
}

// Both sides of a relative name made absolute, so that a relative root (such as the current
// folder ".") and an absolute source, or the reverse, still meet.
std::filesystem::path AbsoluteAndNormal(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? std::filesystem::path(path) : absolute).lexically_normal();
}

// Collects what is logged while it lives.
class ImportLog : public KvLogInterface
{
public:
    explicit ImportLog(std::vector<std::string>& entries) : m_rEntries(entries) { KvLog::AddInterface(this); }
    ~ImportLog() override { KvLog::RemoveInterface(this); }
    void Write(const char*, uint32_t, const char* message) override { m_rEntries.push_back(message); }

private:
    std::vector<std::string>& m_rEntries;
};

// Which resource type an XML source is, from its root element.
const char* SniffXmlResourceType(const std::string& path)
{
    KvIOStream_File stream;
    if (!stream.Open(path.c_str(), KvIOStream::MODE_READ))
        return nullptr;
    KvXmlDocument document;
    const bool bLoaded = document.Load(stream);
    stream.Close();
    const rapidxml::xml_node<>* pRoot = bLoaded ? document.GetDocument().first_node() : nullptr;
    if (!pRoot)
        return nullptr;
    if (std::string(pRoot->name()) == "particlelayer")
        return "Rendering_ParticleSystem";
    if (pRoot->first_node("Materials"))
        return "Rendering_Mesh";
    return "InputTranslator";
}

KvResource* CreateResource(const KvResourceDescriptor* pDescriptor)
{
    KvTypeInfo* pClass = pDescriptor->GetResourceClass();
    if (pClass && KvTypeManager::GetInstance()->IsOrDerivesFrom(pClass, KvResource::GetType()->m_uiIndex))
        if (KvTypedObject* pObject = pClass->CreateInstance())
            return static_cast<KvResource*>(pObject);
    return new KvResource();
}
} // namespace

KvImportResult::~KvImportResult()
{
    m_pResource.Clear();
    for (const KvTempXRef& placeholder : m_aPlaceholders)
        KvReflectionInterface::GetInstance()->DestroyObject(placeholder.second, placeholder.first);
}

KvImportResult::KvImportResult(KvImportResult&& other) noexcept
    : m_aPlaceholders(std::move(other.m_aPlaceholders)), m_pResource(std::move(other.m_pResource)),
      m_strError(std::move(other.m_strError)), m_aLog(std::move(other.m_aLog))
{
    other.m_aPlaceholders.clear();
}

std::set<const void*> KvImportResult::GetPlaceholderAddresses() const
{
    std::set<const void*> addresses;
    for (const KvTempXRef& placeholder : m_aPlaceholders)
        addresses.insert(placeholder.first);
    return addresses;
}

std::string KvImportDriver::GetResourceName(const std::string& sourcePath, const std::string& sourceRoot)
{
    namespace fs = std::filesystem;
    const fs::path source = AbsoluteAndNormal(sourcePath);
    const fs::path root = sourceRoot.empty() ? source.parent_path() : AbsoluteAndNormal(sourceRoot);
    fs::path relative = source.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..")
        relative = source.filename();
    std::string name = relative.generic_string();
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

bool KvImportDriver::HandlesExtensionOf(const std::string& sourcePath) const
{
    return !m_Host.GetImporters().FindByExtension(ExtensionOf(sourcePath)).empty();
}

KvResourceImporter* KvImportDriver::ChooseImporter(const KvImportRequest& request,
                                                   std::string& outError) const
{
    const std::string extension = ExtensionOf(request.m_strSourcePath);
    const std::vector<KvResourceImporter*> candidates = m_Host.GetImporters().FindByExtension(extension);
    if (candidates.empty())
    {
        outError = "no importer handles the extension '" + extension + "'";
        return nullptr;
    }
    std::string wanted = request.m_strResourceType;
    if (wanted.empty() && candidates.size() > 1 && extension == "xml")
    {
        const char* sniffed = SniffXmlResourceType(request.m_strSourcePath);
        wanted = sniffed ? sniffed : "";
    }
    if (wanted.empty())
        return candidates.front();
    for (KvResourceImporter* pImporter : candidates)
    {
        const KvResourceDescriptor* pType = pImporter->GetResourceType();
        if (pType && (wanted == pType->GetTypeName() || wanted == pType->GetShortName()))
            return pImporter;
    }
    outError = "no importer of '" + extension + "' files makes resources of type '" + wanted + "'";
    return nullptr;
}

KvImportResult KvImportDriver::Import(const KvImportRequest& request)
{
    KvImportResult result;
    ImportLog log(result.m_aLog);
    try
    {
        KvResourceImporter* pImporter = ChooseImporter(request, result.m_strError);
        if (!pImporter)
            return result;
        const KvResourceDescriptor* pDescriptor = pImporter->GetResourceType();
        std::string name = GetResourceName(request.m_strSourcePath, request.m_strSourceRoot);
        pImporter->ConvertResourceName(name);

        KvResource* pResource = CreateResource(pDescriptor);
        result.m_pResource = pResource;
        pResource->SetName(name);
        pResource->SetDescriptor(pDescriptor);

        KvIOStream_File stream;
        if (!stream.Open(request.m_strSourcePath.c_str(), KvIOStream::MODE_READ))
        {
            result.m_strError = "cannot open '" + request.m_strSourcePath + "'";
            return result;
        }
        void* pPayload = nullptr;
        void* pRaw = pImporter->ConvertToRaw(pPayload, pResource, &stream, nullptr);
        stream.Close();
        // A payload handed over before a failure is the host's too: binding it releases it
        // with the resource.
        if (pPayload)
            pResource->BindPayloadData(pPayload, 0);
        if (!pRaw)
        {
            result.m_strError = result.m_aLog.empty() ? "the importer made nothing" : result.m_aLog.back();
            return result;
        }
        pResource->BindRawData(pRaw, 0, false);
        pImporter->AppendTempXRef(result.m_aPlaceholders);
        ResolvePlaceholders(result);
        if (KvResourceBinder* pBinder = m_Host.GetBinders().FindByResourceType(pDescriptor))
            pBinder->Bind(nullptr, nullptr, pRaw);
    }
    catch (...)
    {
        result.m_strError = KvDescribeCurrentException();
    }
    return result;
}

void KvImportDriver::ResolvePlaceholders(KvImportResult& result)
{
    KvResource* pResource = result.m_pResource.Get();
    const KvReflectedDataType* pRootType = pResource->GetDescriptor()->GetRootDataType();
    std::vector<KvTempXRef> unresolved;
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    for (const KvTempXRef& placeholder : result.m_aPlaceholders)
    {
        // The real object is another live object of the placeholder's type and name.
        const std::string* pName =
            KvReflectionInterface::GetObjectName(placeholder.second, placeholder.first);
        if (void* pReal =
                pName ? pRegistry->FindLiveObjectByName(placeholder.second, pName->c_str(), placeholder.first)
                      : nullptr)
        {
            KvObjectTree::RetargetReferences(pRootType, pResource->GetRawData(), placeholder.first, pReal);
            pRegistry->DestroyObject(placeholder.second, placeholder.first);
        }
        else
            unresolved.push_back(placeholder);
    }
    result.m_aPlaceholders = std::move(unresolved);
}
