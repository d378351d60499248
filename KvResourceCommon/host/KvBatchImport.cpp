#include "host/KvBatchImport.h"

#include "host/KvProjectStore.h"
#include "resources/KvResourceDescriptor.h"

KvResult KvBatchImport::ImportFile(const KvImportRequest& request, std::vector<std::string>& outWritten)
{
    try
    {
        KvImportResult result = m_Driver.Import(request);
        if (!result.Succeeded())
            return result.m_Result;
        const KvResource& resource = *result.m_pResource;
        const std::string rawPath = m_Project.GetRawDataPath(resource);
        if (const auto earlier = m_SourceOfFile.find(rawPath); earlier != m_SourceOfFile.end())
            return KvResult::Failure("the resource '" + resource.GetName() + "' (" +
                                     resource.GetDescriptor()->GetTypeName() + ") is already imported from " +
                                     earlier->second);
        KvResult saved = m_Project.Save(resource, result.GetPlaceholderAddresses(), outWritten);
        if (saved)
            m_SourceOfFile.emplace(rawPath, request.m_strSourcePath);
        return saved;
    }
    catch (...)
    {
        return KvResult::FailureOfCurrentException();
    }
}
