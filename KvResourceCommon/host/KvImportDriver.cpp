#include "host/KvImportDriver.h"

#include "Foundation/KvLog.h"
#include "IO/KvIOStream_File.h"
#include "TypeManager/KvTypeManager.h"
#include "host/KvResourceHost.h"
#include "reflection/KvObjectTree.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResourceDescriptor.h"
#include "resources/KvSourceProbe.h"

#include <algorithm>
#include <filesystem>

namespace
{
// Both sides of a relative name made absolute, so that a relative root (such as the current
// folder ".") and an absolute source, or the reverse, still meet.
std::filesystem::path AbsoluteAndNormal(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? std::filesystem::path(path) : absolute).lexically_normal();
}

// Collects what is logged while it lives: an import's reports are part of its failure.
class ImportLog : public KvLogInterface
{
public:
    explicit ImportLog(std::vector<std::string>& entries) : m_rEntries(entries) { KvLog::AddInterface(this); }
    ~ImportLog() override { KvLog::RemoveInterface(this); }
    void Write(const char*, uint32_t, const char* message) override { m_rEntries.push_back(message); }

private:
    std::vector<std::string>& m_rEntries;
};

// The resource type names of importers, for a reason that says which were asked.
std::string TypeNamesOf(const std::vector<KvResourceImporter*>& importers)
{
    std::string names;
    for (const KvResourceImporter* pImporter : importers)
    {
        const KvResourceDescriptor* pType = pImporter->GetResourceType();
        names += (names.empty() ? "" : ", ") + std::string(pType ? pType->GetTypeName() : "?");
    }
    return names;
}

// The reason of a failed import: what was logged during it, in order, then the host's own reason
// unless the last report already gives it (the fatal routine logs what it raises). An empty
// host reason leaves the reason to the log.
KvResult ImportFailure(const std::vector<std::string>& logged, const std::string& hostReason)
{
    std::vector<std::string> parts = logged;
    if (!hostReason.empty() && (logged.empty() || logged.back() != hostReason))
        parts.push_back(hostReason);
    if (parts.empty())
        return KvResult::Failure("the importer made nothing and logged no reason");
    std::string reason = parts.front();
    for (size_t index = 1; index < parts.size(); ++index)
        reason += "\n" + parts[index];
    return KvResult::Failure(reason);
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
      m_Result(std::move(other.m_Result))
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
    return !m_Host.GetImporters().FindByExtension(KvSourceProbe::ExtensionOf(sourcePath)).empty();
}

KvResult KvImportDriver::ChooseImporter(const KvImportRequest& request,
                                        KvResourceImporter*& outImporter) const
{
    const KvSourceProbe source(request.m_strSourcePath);
    const std::string& extension = source.GetExtension();
    const std::vector<KvResourceImporter*> candidates = m_Host.GetImporters().FindByExtension(extension);
    if (candidates.empty())
        return KvResult::Failure("no importer handles the extension '" + extension + "'");
    const std::string& wanted = request.m_strResourceType;
    for (KvResourceImporter* pImporter : candidates)
    {
        const KvResourceDescriptor* pType = pImporter->GetResourceType();
        const bool bChosen =
            wanted.empty() ? pImporter->RecognizesSource(source)
                           : pType && (wanted == pType->GetTypeName() || wanted == pType->GetShortName());
        if (bChosen)
        {
            outImporter = pImporter;
            return {};
        }
    }
    if (!wanted.empty())
        return KvResult::Failure("no importer of '" + extension + "' files makes resources of type '" +
                                 wanted + "'");
    return KvResult::Failure("no importer of '" + extension +
                             "' files recognises the file (asked: " + TypeNamesOf(candidates) + ")");
}

KvImportResult KvImportDriver::Import(const KvImportRequest& request)
{
    KvImportResult result;
    std::vector<std::string> logged;
    KvResult converted;
    {
        ImportLog log(logged);
        try
        {
            converted = Convert(request, result);
        }
        catch (...)
        {
            converted = KvResult::FailureOfCurrentException();
        }
    }
    if (!converted)
        result.m_Result = ImportFailure(logged, converted.GetReason());
    return result;
}

KvResult KvImportDriver::Convert(const KvImportRequest& request, KvImportResult& result) const
{
    KvResourceImporter* pImporter = nullptr;
    if (KvResult chosen = ChooseImporter(request, pImporter); !chosen)
        return chosen;
    const KvResourceDescriptor* pDescriptor = pImporter->GetResourceType();
    std::string name = GetResourceName(request.m_strSourcePath, request.m_strSourceRoot);
    pImporter->ConvertResourceName(name);

    KvResource* pResource = CreateResource(pDescriptor);
    result.m_pResource = pResource;
    pResource->SetName(name);
    pResource->SetDescriptor(pDescriptor);

    KvIOStream_File stream;
    if (!stream.Open(request.m_strSourcePath.c_str(), KvIOStream::MODE_READ))
        return KvResult::Failure("cannot open '" + request.m_strSourcePath + "'");
    void* pPayload = nullptr;
    void* pRaw = pImporter->ConvertToRaw(pPayload, pResource, &stream, nullptr);
    stream.Close();
    // A payload handed over before a failure is the host's too: binding it releases it with the
    // resource.
    if (pPayload)
        pResource->BindPayloadData(pPayload, 0);
    if (!pRaw)
        return KvResult::Failure(""); // the importer logged why
    pResource->BindRawData(pRaw, 0, false);
    pImporter->AppendTempXRef(result.m_aPlaceholders);
    ResolvePlaceholders(result);
    if (KvResourceBinder* pBinder = m_Host.GetBinders().FindByResourceType(pDescriptor))
        pBinder->Bind(nullptr, nullptr, pRaw);
    return {};
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
