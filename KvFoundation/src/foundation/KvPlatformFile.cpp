#include "src/foundation/KvPlatformFile.h"

namespace KvPlatform
{
std::string ToFileSystemPath(const std::u16string& path)
{
    std::string result;
    result.reserve(path.size());
    for (const char16_t unit : path)
    {
        if (unit == u'\\')
            result.push_back('/');
        else if (unit < 0x80)
            result.push_back(static_cast<char>(unit));
        else if (unit < 0x800)
        {
            result.push_back(static_cast<char>(0xC0 | (unit >> 6)));
            result.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        }
        else
        {
            result.push_back(static_cast<char>(0xE0 | (unit >> 12)));
            result.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        }
    }
    return result;
}

FILE* OpenFileWide(const std::u16string& path, const char* mode)
{
    return std::fopen(ToFileSystemPath(path).c_str(), mode);
}
} // namespace KvPlatform
