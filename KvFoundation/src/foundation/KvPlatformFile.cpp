#include "src/foundation/KvPlatformFile.h"

#include "Foundation/KvFileSystem.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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
    // O_NONBLOCK keeps the open from waiting for the other end of a FIFO, refused below anyway.
    const int access = mode[0] == 'r'   ? O_RDONLY
                       : mode[0] == 'w' ? O_WRONLY | O_CREAT | O_TRUNC
                                        : O_WRONLY | O_CREAT | O_APPEND;
    const int descriptor = open(ToFileSystemPath(path).c_str(), access | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return nullptr;
    // A folder reads as an endless file and a FIFO or device may never end: regular files only.
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0)
    {
        close(descriptor);
        return nullptr;
    }
    FILE* pFile = fdopen(descriptor, mode);
    if (!pFile)
        close(descriptor);
    return pFile;
}
} // namespace KvPlatform

bool KvCreateFolder(const std::u16string& path)
{
    std::error_code error;
    const std::filesystem::path folder = KvPlatform::ToFileSystemPath(path);
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}
