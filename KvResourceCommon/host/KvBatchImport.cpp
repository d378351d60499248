#include "host/KvBatchImport.h"

#include "host/KvBlobStore.h"
#include "host/KvImportIdentity.h"
#include "host/KvProjectReferences.h"
#include "host/KvProjectStore.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResourceDescriptor.h"

KvResult KvBatchImport::Claim(const std::string& rawPath, const std::string& name,
                              const KvResourceDescriptor& type, const KvImportRequest& request)
{
    const auto [earlier, bFirst] = m_SourceOfFile.emplace(rawPath, request.m_strSourcePath);
    if (bFirst || earlier->second == request.m_strSourcePath)
        return {};
    return KvResult::Failure("the resource '" + name + "' (" + type.GetTypeName() +
                             ") is already imported from " + earlier->second);
}

KvResult KvBatchImport::Reserve(const KvImportRequest& request, bool& outCreates)
{
    outCreates = false;
    try
    {
        KvImportTarget target;
        if (!m_Driver.FindTarget(request, target) || !target.m_bCreatesResource)
            return {};
        outCreates = true;
        return Claim(m_Project.GetRawDataPath(target.m_strName, *target.m_pType), target.m_strName,
                     *target.m_pType, request);
    }
    catch (...)
    {
        // Left to the import to report.
        return {};
    }
}

bool KvBatchImport::IsUpToDate(const KvImportRequest& request, std::filesystem::file_time_type toolStamp,
                               std::vector<std::string>& outSaved)
{
    namespace fs = std::filesystem;
    try
    {
        KvImportTarget target;
        if (!m_Driver.FindTarget(request, target) || !target.m_bCreatesResource)
            return false;
        std::error_code error;
        fs::file_time_type newestInput = std::max(toolStamp, fs::last_write_time(request.m_strSourcePath));
        if (!target.m_strMinimumTimeStampFile.empty())
        {
            const fs::path root = request.m_strSourceRoot.empty()
                                      ? fs::path(request.m_strSourcePath).parent_path()
                                      : fs::path(request.m_strSourceRoot);
            const fs::path stampFile = root / target.m_strMinimumTimeStampFile;
            if (fs::exists(stampFile, error))
                newestInput = std::max(newestInput, fs::last_write_time(stampFile));
        }
        std::vector<std::string> saved = {m_Project.GetRawDataPath(target.m_strName, *target.m_pType)};
        if (const std::string payload = m_Project.GetPayloadPath(target.m_strName, *target.m_pType);
            fs::exists(payload, error))
            saved.push_back(payload);
        const KvBlobStore blobs(m_Project.GetFolder());
        for (const std::string& path : saved)
            if (!fs::is_regular_file(path, error) || fs::last_write_time(path) <= newestInput ||
                !blobs.HoldsBlobsOf(path))
                return false;
        if (!Claim(saved.front(), target.m_strName, *target.m_pType, request))
            return false;
        outSaved.insert(outSaved.end(), saved.begin(), saved.end());
        return true;
    }
    catch (...)
    {
        // Whatever keeps the check from deciding is left to the import to report.
        return false;
    }
}

KvResult KvBatchImport::ImportFile(const KvImportRequest& request, tImportedFile& outFile)
{
    try
    {
        KvImportResult result = m_Driver.Import(request, &m_Saved);
        if (!result.Succeeded())
            return result.m_Result;
        const KvResource& resource = *result.m_pResource;
        outFile.m_strResource = resource.GetName();
        const std::string rawPath = m_Project.GetRawDataPath(resource);
        if (KvResult claimed = Claim(rawPath, resource.GetName(), *resource.GetDescriptor(), request);
            !claimed)
            return claimed;
        KvImportIdentity::KeepSaved(resource, m_SavedProject.GetRawDataPath(resource));
        const std::set<const void*> unresolved =
            KvProjectReferences::Resolve(m_SavedProject.GetFolder(), result.m_aPlaceholders);
        std::set<std::string> referenced;
        for (const auto& [pPlaceholder, pType] : result.m_aPlaceholders)
            if (const std::string* pName = KvReflectionInterface::GetObjectName(pType, pPlaceholder))
                referenced.insert(*pName);
        outFile.m_aReferencedNames.assign(referenced.begin(), referenced.end());
        KvResult saved = m_Project.Save(resource, unresolved, outFile.m_aWritten);
        if (!saved)
            return saved;
        if (result.m_bUpdatedSaved)
            outFile.m_strUpdated =
                std::string(resource.GetDescriptor()->GetTypeName()) + " '" + resource.GetName() + "'";
        return saved;
    }
    catch (...)
    {
        return KvResult::FailureOfCurrentException();
    }
}
