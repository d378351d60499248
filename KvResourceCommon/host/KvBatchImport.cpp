#include "host/KvBatchImport.h"

#include "host/KvImportIdentity.h"
#include "host/KvProjectReferences.h"
#include "host/KvProjectStore.h"
#include "resources/KvResourceDescriptor.h"

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
        if (const auto earlier = m_SourceOfFile.find(rawPath); earlier != m_SourceOfFile.end())
            return KvResult::Failure("the resource '" + resource.GetName() + "' (" +
                                     resource.GetDescriptor()->GetTypeName() + ") is already imported from " +
                                     earlier->second);
        KvImportIdentity::KeepSaved(resource, rawPath);
        const std::set<const void*> unresolved =
            KvProjectReferences::Resolve(m_Project.GetFolder(), result.m_aPlaceholders);
        KvResult saved = m_Project.Save(resource, unresolved, outFile.m_aWritten);
        if (!saved)
            return saved;
        m_SourceOfFile.emplace(rawPath, request.m_strSourcePath);
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
