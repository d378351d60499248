#pragma once

#include <cstdio>
#include <string>

namespace KvPlatform
{
// Opens a file named by 16-bit units in the given stdio mode. The name is encoded as UTF-8
// for the file system, with "\\" separators mapped to "/". Null on failure.
FILE* OpenFileWide(const std::u16string& path, const char* mode);
// The UTF-8 file-system path of a 16-bit path, separators mapped.
std::string ToFileSystemPath(const std::u16string& path);
} // namespace KvPlatform
