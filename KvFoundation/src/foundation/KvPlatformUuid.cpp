#include "src/foundation/KvPlatformUuid.h"

#include "src/foundation/KvTimeUuidGenerator.h"

#include <uuid/uuid.h>

namespace KvPlatform
{
uint32_t GenerateSequentialUuid(uint8_t (&outBytes)[16])
{
    // Our own generator rather than libuuid's, which asks the uuidd daemon's socket on every call.
    return KvTimeUuidGenerator::GetInstance().Generate(outBytes) ? 0 : kUuidStatusLocalOnly;
}

void GenerateNameBasedUuid(const uint8_t (&nameSpace)[16], std::string_view name, uint8_t (&outBytes)[16])
{
    uuid_generate_sha1(outBytes, nameSpace, name.data(), name.size());
}
} // namespace KvPlatform
