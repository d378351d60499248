#include "Host/KvBatchImport.h"

#include "Host/KvExceptionReason.h"
#include "Host/KvProjectStore.h"
#include "Resources/KvResourceDescriptor.h"

KvBatchImport::tOutcome KvBatchImport::ImportFile(const KvImportRequest& request)
{
    tOutcome outcome;
    try
    {
        KvImportResult result = m_Driver.Import(request);
        if (!result.Succeeded())
        {
            outcome.m_strError = result.m_strError;
            return outcome;
        }
        const KvResource& resource = *result.m_pResource;
        const std::string rawPath = m_Project.GetRawDataPath(resource);
        if (const auto earlier = m_SourceOfFile.find(rawPath); earlier != m_SourceOfFile.end())
        {
            outcome.m_strError = "the resource '" + resource.GetName() + "' (" +
                                 resource.GetDescriptor()->GetTypeName() + ") is already imported from " +
                                 earlier->second;
            return outcome;
        }
        if (m_Project.Save(resource, result.GetPlaceholderAddresses(), outcome.m_aWritten,
                           outcome.m_strError))
            m_SourceOfFile.emplace(rawPath, request.m_strSourcePath);
    }
    catch (...)
    {
        outcome.m_strError = KvDescribeCurrentException();
    }
    return outcome;
}
