#include "Host/KvSchemaDescription.h"

#include "Foundation/KvEnumConverter.h"
#include "Reflection/KvReflectedDataType.h"
#include "Reflection/KvReflectionInterface.h"

#include <algorithm>
#include <sstream>

using Json = nlohmann::ordered_json;

namespace
{
Json AttributesToJson(const std::vector<KvAttribute*>& attributes)
{
    Json list = Json::array();
    for (const KvAttribute* pAttribute : attributes)
    {
        Json arguments = Json::array();
        for (const KvAttributeArgument& argument : pAttribute->GetArguments())
            std::visit([&arguments](const auto& value) { arguments.push_back(value); }, argument);
        list.push_back({{"attribute", pAttribute->GetName()}, {"args", arguments}});
    }
    return list;
}

std::string AttributesToText(const std::vector<KvAttribute*>& attributes)
{
    std::string text;
    for (const auto& attribute : AttributesToJson(attributes))
    {
        text += " " + attribute["attribute"].get<std::string>();
        if (!attribute["args"].empty())
        {
            std::string arguments;
            for (const auto& argument : attribute["args"])
                arguments += (arguments.empty() ? "" : ", ") + argument.dump();
            text += "(" + arguments + ")";
        }
    }
    return text;
}

bool IsTypeRecordPointer(const KvReflectedPrimitive& member)
{
    return member.GetPointeeType() &&
           member.GetPointeeType() == KvReflectionInterface::GetInstance()->GetTypeRecordType();
}
} // namespace

namespace KvSchemaDescription
{
const char* GetKindName(const KvReflectedPrimitive& member)
{
    switch (member.GetKind())
    {
    case PRIMITIVE_VALUE:
        return "value";
    case PRIMITIVE_ENUM:
        return "enum";
    case PRIMITIVE_STRUCT:
        return "struct";
    case PRIMITIVE_ARRAY:
        return "array";
    case PRIMITIVE_ARRAY_STRUCT:
        return "arrayStruct";
    case PRIMITIVE_POINTER:
        return "pointer";
    case PRIMITIVE_ARRAY_POINTER:
        return "arrayPointer";
    case PRIMITIVE_DYNAMIC_POINTER:
        return "dynamicPointer";
    default:
        return "none";
    }
}

std::string GetValueTypeName(const KvReflectedPrimitive& member)
{
    switch (member.GetKind())
    {
    case PRIMITIVE_VALUE:
    case PRIMITIVE_ARRAY:
        return KvGetValueTypeName(member.GetValueType());
    case PRIMITIVE_ENUM:
        return member.GetEnumConverter() ? member.GetEnumConverter()->GetEnumName() : "u32";
    case PRIMITIVE_STRUCT:
    case PRIMITIVE_ARRAY_STRUCT:
        return member.GetElementType() ? member.GetElementType()->GetName() : "none";
    case PRIMITIVE_POINTER:
    case PRIMITIVE_ARRAY_POINTER:
        if (IsTypeRecordPointer(member))
            return "typeRecord";
        return member.GetPointeeType() ? member.GetPointeeType()->GetName() : "none";
    case PRIMITIVE_DYNAMIC_POINTER:
        return "type in " + member.GetDynamicTypeMember();
    default:
        return "none";
    }
}

Json ToJson(const KvReflectedDataType& type)
{
    Json members = Json::array();
    for (uint32_t index = 0; index < type.GetMemberCount(); ++index)
    {
        const KvReflectedPrimitive& member = *type.GetMember(index);
        members.push_back({{"name", member.GetName()},
                           {"kind", GetKindName(member)},
                           {"valueType", GetValueTypeName(member)},
                           {"attributes", AttributesToJson(member.GetAttributes())}});
    }
    return {{"type", type.GetName()},
            {"size", type.GetSize()},
            {"attributes", AttributesToJson(type.GetAttributes())},
            {"members", members}};
}

std::string ToText(const KvReflectedDataType& type)
{
    std::ostringstream text;
    text << type.GetName() << " (" << type.GetSize() << " bytes)" << AttributesToText(type.GetAttributes())
         << "\n";
    for (uint32_t index = 0; index < type.GetMemberCount(); ++index)
    {
        const KvReflectedPrimitive& member = *type.GetMember(index);
        text << "  " << member.GetName() << " " << GetKindName(member) << " " << GetValueTypeName(member)
             << AttributesToText(member.GetAttributes()) << "\n";
    }
    return text.str();
}

std::vector<const KvReflectedDataType*> GetReachableTypes(const KvReflectedDataType& root)
{
    std::vector<const KvReflectedDataType*> types{&root};
    for (size_t next = 0; next < types.size(); ++next)
    {
        for (uint32_t index = 0; index < types[next]->GetMemberCount(); ++index)
        {
            const KvReflectedPrimitive* pMember = types[next]->GetMember(index);
            for (const KvReflectedDataType* pType : {pMember->GetElementType(), pMember->GetPointeeType()})
                if (pType && !IsTypeRecordPointer(*pMember) &&
                    std::find(types.begin(), types.end(), pType) == types.end())
                    types.push_back(pType);
        }
    }
    return types;
}
} // namespace KvSchemaDescription
