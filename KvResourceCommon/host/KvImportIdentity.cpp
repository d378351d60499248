#include "host/KvImportIdentity.h"

#include "Foundation/KvGuid.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResource.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvSavedObjectWalk.h"

#include <nlohmann/json.hpp>

#include <fstream>

namespace
{
// The namespace of every object identity of a project.
const KvGuid kIdentityNamespace = *KvGuid::FromString("9c3b1f52-6d0e-4a7b-8e21-5f4c2d7a9b10");

// Calls set(guid, pointer, type) for every object of the resource that holds a GUID.
template <class Set>
void ForEachIdentifiedObject(const KvResource& resource, Set&& set)
{
    KvWalkSavedObjects(resource.GetDescriptor()->GetRootDataType(), resource.GetRawData(),
                       [&](const std::string& pointer, const KvReflectedDataType* pType, void* pObject)
                       {
                           const int32_t index = pType->FindMember(KvReflectionInterface::kGuidMember);
                           if (index >= 0 && pType->GetMember(index)->GetValueType() == VALUE_GUID)
                               set(*static_cast<KvGuid*>(pType->GetMember(index)->GetAddress(pObject)),
                                   pointer, pType);
                       });
}
} // namespace

namespace KvImportIdentity
{
void AssignNameBased(const KvResource& resource)
{
    const std::string prefix =
        std::string(resource.GetDescriptor()->GetTypeName()) + "\n" + resource.GetName() + "\n";
    ForEachIdentifiedObject(resource,
                            [&](KvGuid& guid, const std::string& pointer, const KvReflectedDataType*)
                            { guid = KvGuid::FromName(kIdentityNamespace, prefix + pointer); });
}

void KeepSaved(const KvResource& resource, const std::string& savedRawDataPath)
{
    std::ifstream file(savedRawDataPath, std::ios::binary);
    if (!file)
        return;
    const nlohmann::json saved = nlohmann::json::parse(file, nullptr, false);
    if (saved.is_discarded())
        return;
    ForEachIdentifiedObject(resource,
                            [&](KvGuid& guid, const std::string& pointer, const KvReflectedDataType* pType)
                            {
                                const nlohmann::json::json_pointer place(pointer);
                                if (!saved.contains(place))
                                    return;
                                const nlohmann::json& object = saved.at(place);
                                if (!object.is_object() || object.value("$type", "") != pType->GetName())
                                    return;
                                const auto savedGuid = object.find(KvReflectionInterface::kGuidMember);
                                if (savedGuid == object.end() || !savedGuid->is_string())
                                    return;
                                if (const std::optional<KvGuid> kept =
                                        KvGuid::FromString(savedGuid->get<std::string>()))
                                    guid = *kept;
                            });
}
} // namespace KvImportIdentity
