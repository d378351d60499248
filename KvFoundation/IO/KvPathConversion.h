#pragma once

#include <string>

// Converts an 8-bit path to 16-bit units: bytes below 0x80 map to one unit each; a byte of
// 0x80 or above starts a sequence of one (below 0xE0) or two continuation bytes whose low
// 6 bits are appended to the start byte's low 5 bits, kept to 16 bits. Sequences are not
// validated; the conversion stops at the terminating zero, also inside a sequence.
std::u16string KvConvertPathToUtf16(const char* path);
