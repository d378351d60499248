#include "src/foundation/KvPlatformUuid.h"

#include <uuid/uuid.h>

namespace KvPlatform
{
uint32_t GenerateSequentialUuid(uint8_t (&outBytes)[16])
{
    uuid_generate_time(outBytes);
    return uuid_type(outBytes) == UUID_TYPE_DCE_TIME ? 0 : kUuidStatusLocalOnly;
}

void GenerateNameBasedUuid(const uint8_t (&nameSpace)[16], std::string_view name, uint8_t (&outBytes)[16])
{
    uuid_generate_sha1(outBytes, nameSpace, name.data(), name.size());
}
} // namespace KvPlatform
