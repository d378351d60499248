#include "SchemaCommand.h"

#include "host/KvSchemaDescription.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"

#include <cstdio>

int RunSchemaCommand(const std::string& typeName, bool bJson, bool bReachable)
{
    const KvReflectedDataType* pType = KvReflectionInterface::GetInstance()->FindType(typeName.c_str());
    if (!pType)
    {
        std::fprintf(stderr, "kvres schema: no reflected type is named '%s'\n", typeName.c_str());
        return 1;
    }
    const std::vector<const KvReflectedDataType*> types =
        bReachable ? KvSchemaDescription::GetReachableTypes(*pType)
                   : std::vector<const KvReflectedDataType*>{pType};
    nlohmann::ordered_json schemas = nlohmann::ordered_json::array();
    for (const KvReflectedDataType* pEach : types)
    {
        if (bJson)
            schemas.push_back(KvSchemaDescription::ToJson(*pEach));
        else
            std::printf("%s", KvSchemaDescription::ToText(*pEach).c_str());
    }
    if (bJson)
        std::printf("%s\n", (bReachable ? schemas : schemas[0]).dump(2).c_str());
    return 0;
}
