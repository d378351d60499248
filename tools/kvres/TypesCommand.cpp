#include "TypesCommand.h"

#include "Host/KvResourceHost.h"
#include "Reflection/KvReflectedDataType.h"
#include "Resources/KvResourceDescriptor.h"

#include <cstdio>
#include <string>

int RunTypesCommand(KvResourceHost& host)
{
    std::printf("%-26s %-20s %-54s %-42s %-5s %s\n", "type", "short name", "root data type",
                "payload data type", "order", "importers");
    for (const KvResourceDescriptor* pDescriptor : host.GetDescriptors().GetDescriptors())
    {
        std::string importers;
        for (KvResourceImporter* pImporter : host.GetImporters().FindByResourceType(pDescriptor))
            importers += (importers.empty() ? "." : ", .") + std::string(pImporter->GetExtension());
        const KvReflectedDataType* pPayload = pDescriptor->GetPayloadDataType();
        std::printf(
            "%-26s %-20s %-54s %-42s %-5u %s\n", pDescriptor->GetTypeName(), pDescriptor->GetShortName(),
            pDescriptor->GetRootDataType()->GetName().c_str(), pPayload ? pPayload->GetName().c_str() : "-",
            static_cast<unsigned>(pDescriptor->GetLoadOrder()), importers.empty() ? "-" : importers.c_str());
    }
    return 0;
}
