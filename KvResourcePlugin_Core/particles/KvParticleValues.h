#pragma once

#include "Foundation/KvColor.h"
#include "math/KvVector.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct KvParticleBox;
struct KvParticleInt2;

// The value forms of particle effect files. A reading changes its value only by what the text
// gives: a missing (null) or unreadable text leaves it, and a number list writes the items it
// reads, which stop at the first item that does not convert, as "%f,%f,..." does.
namespace KvParticleValues
{
// A name and the value it stands for.
struct tName
{
    const char* m_szName;
    int32_t m_iValue;
};

// "TRUE" or "1" set the flag, "FALSE" or "0" clear it, compared without case; false (the flag
// left) for any other text.
bool ReadFlag(const char* text, bool& value);
void ReadFloat(const char* text, float& value);
// Up to values.size() items separated by ","; each returns the number of items read.
// Floats read as "%f" (out of single-precision range or denormal: 0).
size_t ReadFloats(const char* text, std::span<float> values);
// Integers read as "%i" (decimal, "0x" hexadecimal or "0" octal), clamped to 32 bits.
size_t ReadIntegers(const char* text, std::span<int32_t> values);
// Hexadecimal masks read as "%x", clamped to 32 bits.
size_t ReadMasks(const char* text, std::span<uint32_t> values);

// The lists the settings are held in: floats into vectors, two integers, six floats into a
// box (minimum, then maximum), and a colour as four integers, red first, each clamped to a byte.
size_t ReadList(const char* text, KvVector2& value);
size_t ReadList(const char* text, KvVector3& value);
size_t ReadList(const char* text, KvVector4& value);
size_t ReadList(const char* text, KvParticleInt2& value);
size_t ReadList(const char* text, KvParticleBox& value);
size_t ReadList(const char* text, KvColor& value);

// One of the names, compared without case; false (the value left) for any other text.
bool ReadName(const char* text, std::span<const tName> names, int32_t& value);

// A file path as the effect names it, lower case and without leading "..\\" parts:
// "..\\..\\Textures\\Smoke.DDS" gives "textures\\smoke.dds".
std::string NormalisePath(std::string_view path);
} // namespace KvParticleValues
