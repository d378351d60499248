#include "host/KvSchemaDescription.h"

#include "Foundation/KvEnumConverter.h"
#include "reflection/KvMemberVisitor.h"
#include "reflection/KvReflectedDataType.h"

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

// The kind a schema shows: pointers and arrays of pointers alike whatever they point at.
struct KindName
{
    const char* Value(const KvReflectedPrimitive&) { return "value"; }
    const char* Enum(const KvReflectedPrimitive&) { return "enum"; }
    const char* Record(const KvReflectedPrimitive&) { return "struct"; }
    const char* ValueArray(const KvReflectedPrimitive&) { return "array"; }
    const char* RecordArray(const KvReflectedPrimitive&) { return "arrayStruct"; }
    const char* OwnedPointer(const KvReflectedPrimitive&) { return "pointer"; }
    const char* OwnedPointerArray(const KvReflectedPrimitive&) { return "arrayPointer"; }
    const char* Reference(const KvReflectedPrimitive&) { return "pointer"; }
    const char* ReferenceArray(const KvReflectedPrimitive&) { return "arrayPointer"; }
    const char* TypeRecord(const KvReflectedPrimitive&) { return "pointer"; }
    const char* DynamicPointer(const KvReflectedPrimitive&) { return "dynamicPointer"; }
};

// The record or object type a member names; null for values, type records and dynamic
// pointers, whose types are no part of the schema.
struct NamedType
{
    const KvReflectedDataType* Value(const KvReflectedPrimitive&) { return nullptr; }
    const KvReflectedDataType* Enum(const KvReflectedPrimitive&) { return nullptr; }
    const KvReflectedDataType* Record(const KvReflectedPrimitive& member) { return member.GetElementType(); }
    const KvReflectedDataType* ValueArray(const KvReflectedPrimitive&) { return nullptr; }
    const KvReflectedDataType* RecordArray(const KvReflectedPrimitive& member)
    {
        return member.GetElementType();
    }
    const KvReflectedDataType* OwnedPointer(const KvReflectedPrimitive& member)
    {
        return member.GetPointeeType();
    }
    const KvReflectedDataType* OwnedPointerArray(const KvReflectedPrimitive& member)
    {
        return member.GetPointeeType();
    }
    const KvReflectedDataType* Reference(const KvReflectedPrimitive& member)
    {
        return member.GetPointeeType();
    }
    const KvReflectedDataType* ReferenceArray(const KvReflectedPrimitive& member)
    {
        return member.GetPointeeType();
    }
    const KvReflectedDataType* TypeRecord(const KvReflectedPrimitive&) { return nullptr; }
    const KvReflectedDataType* DynamicPointer(const KvReflectedPrimitive&) { return nullptr; }
};

// The value type's name, the enumeration's name, or the name of the type the member names.
struct ValueTypeName
{
    std::string Value(const KvReflectedPrimitive& member)
    {
        return KvGetValueTypeName(member.GetValueType());
    }
    std::string Enum(const KvReflectedPrimitive& member)
    {
        return member.GetEnumConverter() ? member.GetEnumConverter()->GetEnumName() : "u32";
    }
    std::string Record(const KvReflectedPrimitive& member) { return NameOf(member.GetElementType()); }
    std::string ValueArray(const KvReflectedPrimitive& member) { return Value(member); }
    std::string RecordArray(const KvReflectedPrimitive& member) { return NameOf(member.GetElementType()); }
    std::string OwnedPointer(const KvReflectedPrimitive& member) { return NameOf(member.GetPointeeType()); }
    std::string OwnedPointerArray(const KvReflectedPrimitive& member)
    {
        return NameOf(member.GetPointeeType());
    }
    std::string Reference(const KvReflectedPrimitive& member) { return NameOf(member.GetPointeeType()); }
    std::string ReferenceArray(const KvReflectedPrimitive& member) { return NameOf(member.GetPointeeType()); }
    std::string TypeRecord(const KvReflectedPrimitive&) { return "typeRecord"; }
    std::string DynamicPointer(const KvReflectedPrimitive& member)
    {
        return "type in " + member.GetDynamicTypeMember();
    }

    static std::string NameOf(const KvReflectedDataType* pType) { return pType ? pType->GetName() : "none"; }
};
} // namespace

namespace KvSchemaDescription
{
const char* GetKindName(const KvReflectedPrimitive& member)
{
    return KvVisitMember(member, KindName());
}

std::string GetValueTypeName(const KvReflectedPrimitive& member)
{
    return KvVisitMember(member, ValueTypeName());
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
            const KvReflectedDataType* pType = KvVisitMember(*types[next]->GetMember(index), NamedType());
            if (pType && std::find(types.begin(), types.end(), pType) == types.end())
                types.push_back(pType);
        }
    }
    return types;
}
} // namespace KvSchemaDescription
