#pragma once

#include <string>

// Creates a folder named by 16-bit units, with any missing parents, as the shell's directory
// creation does; the name reaches the file system as file streams' names do ("\\" as "/").
// True when the folder exists afterwards, also when it existed before.
bool KvCreateFolder(const std::u16string& path);
