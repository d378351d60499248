#include "TypesCommand.h"

#include "host/KvResourceHost.h"
#include "reflection/KvReflectedDataType.h"
#include "resources/KvResourceDescriptor.h"

#include <cstdio>
#include <string>

namespace
{
void PrintType(KvResourceHost& host, const KvResourceDescriptor& descriptor, const char* note)
{
    std::string importers;
    for (KvResourceImporter* pImporter : host.GetImporters().FindByResourceType(&descriptor))
        importers += (importers.empty() ? "." : ", .") + std::string(pImporter->GetExtension());
    for (KvResourceImporter* pImporter : host.GetUnregisteredImporters().FindByResourceType(&descriptor))
        importers +=
            (importers.empty() ? "." : ", .") + std::string(pImporter->GetExtension()) + " (unregistered)";
    const KvReflectedDataType* pPayload = descriptor.GetPayloadDataType();
    std::printf("%-26s %-20s %-54s %-42s %-5u %s%s\n", descriptor.GetTypeName(), descriptor.GetShortName(),
                descriptor.GetRootDataType()->GetName().c_str(), pPayload ? pPayload->GetName().c_str() : "-",
                static_cast<unsigned>(descriptor.GetLoadOrder()), importers.empty() ? "-" : importers.c_str(),
                note);
}
} // namespace

int RunTypesCommand(KvResourceHost& host)
{
    std::printf("%-26s %-20s %-54s %-42s %-5s %s\n", "type", "short name", "root data type",
                "payload data type", "order", "importers");
    for (const KvResourceDescriptor* pDescriptor : host.GetDescriptors().GetDescriptors())
        PrintType(host, *pDescriptor, "");
    for (const KvResourceDescriptor* pDescriptor : host.GetUnregisteredDescriptors())
        PrintType(host, *pDescriptor, " (exported, not registered)");
    return 0;
}
