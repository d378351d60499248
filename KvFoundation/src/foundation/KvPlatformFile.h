#pragma once

#include <cstdio>
#include <string>

namespace KvPlatform
{
// Opens a regular file named by 16-bit units in the stdio mode "rb", "wb" or "ab". The name
// is encoded as UTF-8 for the file system, with "\\" separators mapped to "/". Null on failure
// and for anything but a regular file (a folder, FIFO or device), without waiting on a FIFO.
FILE* OpenFileWide(const std::u16string& path, const char* mode);
// The UTF-8 file-system path of a 16-bit path, separators mapped.
std::string ToFileSystemPath(const std::u16string& path);
} // namespace KvPlatform
