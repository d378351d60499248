#include "src/foundation/KvPlatformUuid.h"

#include <uuid/uuid.h>

namespace KvPlatform
{
uint32_t GenerateSequentialUuid(uint8_t (&outBytes)[16])
{
    uuid_generate_time(outBytes);
    return uuid_type(outBytes) == UUID_TYPE_DCE_TIME ? 0 : kUuidStatusLocalOnly;
}
} // namespace KvPlatform
