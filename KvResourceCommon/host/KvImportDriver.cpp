#include "host/KvImportDriver.h"

#include "Foundation/KvLog.h"
#include "IO/KvIOStream_File.h"
#include "TypeManager/KvTypeManager.h"
#include "host/KvImportIdentity.h"
#include "host/KvLogCapture.h"
#include "host/KvResourceCreation.h"
#include "host/KvResourceHost.h"
#include "host/KvSavedResources.h"
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

std::vector<KvResourceImporter*> KvImportDriver::CandidatesFor(const std::string& extension) const
{
    std::vector<KvResourceImporter*> candidates = m_Host.GetImporters().FindByExtension(extension);
    for (KvResourceImporter* pImporter : m_Host.GetUnregisteredImporters().FindByExtension(extension))
        candidates.push_back(pImporter);
    return candidates;
}

bool KvImportDriver::HandlesExtensionOf(const std::string& sourcePath) const
{
    return !CandidatesFor(KvSourceProbe::ExtensionOf(sourcePath)).empty();
}

KvResult KvImportDriver::ChooseImporter(const KvImportRequest& request,
                                        KvResourceImporter*& outImporter) const
{
    const KvSourceProbe source(request.m_strSourcePath);
    const std::string& extension = source.GetExtension();
    const std::vector<KvResourceImporter*> candidates = CandidatesFor(extension);
    if (candidates.empty())
        return KvResult::Failure("no importer handles the extension '" + extension + "'");
    const std::string& wanted = request.m_strResourceType;
    if (!wanted.empty())
    {
        for (KvResourceImporter* pImporter : candidates)
        {
            const KvResourceDescriptor* pType = pImporter->GetResourceType();
            if (pType && (wanted == pType->GetTypeName() || wanted == pType->GetShortName()))
            {
                outImporter = pImporter;
                return {};
            }
        }
        return KvResult::Failure("no importer of '" + extension + "' files makes resources of type '" +
                                 wanted + "'");
    }
    // Unregistered importers come last and take only what they recognise.
    const size_t registered = m_Host.GetImporters().FindByExtension(extension).size();
    KvResourceImporter* pDefault = nullptr;
    for (size_t index = 0; index < candidates.size(); ++index)
    {
        const eSourceRecognition recognition = candidates[index]->RecognizeSource(source);
        if (recognition == SOURCE_RECOGNISED)
        {
            outImporter = candidates[index];
            return {};
        }
        if (recognition == SOURCE_TAKEN_BY_DEFAULT && !pDefault && index < registered)
            pDefault = candidates[index];
    }
    if (pDefault)
    {
        outImporter = pDefault;
        return {};
    }
    return KvResult::Failure("no importer of '" + extension +
                             "' files recognises the file (asked: " + TypeNamesOf(candidates) + ")");
}

KvImportResult KvImportDriver::Import(const KvImportRequest& request, KvSavedResources* pSaved)
{
    KvImportResult result;
    KvResult converted;
    // An import's reports are part of its failure.
    KvLogCapture log;
    try
    {
        converted = Convert(request, pSaved, result);
        if (converted)
            KvImportIdentity::AssignNameBased(*result.m_pResource);
    }
    catch (...)
    {
        converted = KvResult::FailureOfCurrentException();
    }
    if (!converted)
        result.m_Result = ImportFailure(log.GetMessages(), converted.GetReason());
    return result;
}

KvResult KvImportDriver::ChooseTarget(const KvImportRequest& request, KvResourceImporter*& outImporter,
                                      std::string& outName) const
{
    if (KvResult chosen = ChooseImporter(request, outImporter); !chosen)
        return chosen;
    outName = GetResourceName(request.m_strSourcePath, request.m_strSourceRoot);
    outImporter->ConvertResourceName(outName);
    return {};
}

KvResult KvImportDriver::FindTarget(const KvImportRequest& request, KvImportTarget& outTarget) const
{
    KvResourceImporter* pImporter = nullptr;
    if (KvResult chosen = ChooseTarget(request, pImporter, outTarget.m_strName); !chosen)
        return chosen;
    outTarget.m_pType = pImporter->GetResourceType();
    outTarget.m_bCreatesResource = pImporter->ShouldCreateResource();
    pImporter->GetMinimumTimeStampFile(outTarget.m_strMinimumTimeStampFile);
    return {};
}

KvResult KvImportDriver::Convert(const KvImportRequest& request, KvSavedResources* pSaved,
                                 KvImportResult& result) const
{
    KvResourceImporter* pImporter = nullptr;
    std::string name;
    if (KvResult chosen = ChooseTarget(request, pImporter, name); !chosen)
        return chosen;
    const KvResourceDescriptor* pDescriptor = pImporter->GetResourceType();
    void* pExisting = nullptr;
    if (!pImporter->ShouldCreateResource())
    {
        pExisting = pSaved ? pSaved->FindSavedRawData(name, pDescriptor) : nullptr;
        if (!pExisting)
            return KvResult::Failure(
                std::string("the file updates the saved ") + pDescriptor->GetTypeName() + " '" + name +
                "', " + (pSaved ? "which the project does not hold" : "and no project is given"));
    }

    KvResource* pResource = KvCreateResource(pDescriptor);
    result.m_pResource = pResource;
    pResource->SetName(name);
    pResource->SetDescriptor(pDescriptor);

    KvIOStream_File stream;
    if (!stream.Open(request.m_strSourcePath.c_str(), KvIOStream::MODE_READ))
        return KvResult::Failure("cannot open '" + request.m_strSourcePath + "'");
    void* pPayload = nullptr;
    void* pRaw = pImporter->ConvertToRaw(pPayload, pResource, &stream, pExisting);
    stream.Close();
    // The saved object stays with the saved resources: handed back unchanged, it is copied.
    if (pRaw && pRaw == pExisting)
        pRaw = KvObjectTree::Clone(pDescriptor->GetRootDataType(), pExisting);
    result.m_bUpdatedSaved = pExisting != nullptr;
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
    // A placeholder is no object of its own: leaving the live objects, it is never taken for
    // the real object of its name, by this import or any later one.
    for (const KvTempXRef& placeholder : result.m_aPlaceholders)
        pRegistry->UnregisterLiveObject(placeholder.second, placeholder.first);
    for (const KvTempXRef& placeholder : result.m_aPlaceholders)
    {
        // The real object is a live object of the placeholder's type and name.
        const std::string* pName =
            KvReflectionInterface::GetObjectName(placeholder.second, placeholder.first);
        if (void* pReal =
                pName ? pRegistry->FindLiveObjectByName(placeholder.second, pName->c_str()) : nullptr)
        {
            KvObjectTree::RetargetReferences(pRootType, pResource->GetRawData(), placeholder.first, pReal);
            pRegistry->DestroyObject(placeholder.second, placeholder.first);
        }
        else
            unresolved.push_back(placeholder);
    }
    result.m_aPlaceholders = std::move(unresolved);
}
