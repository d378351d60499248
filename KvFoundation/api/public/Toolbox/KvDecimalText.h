#pragma once

// The standard library's decimal readings (strtod, strtof in the "C" locale), with the same
// result and end for every text, taking a short way for the plain decimals that the source files
// hold: a sign, up to 19 digits with one point, nothing after them that continues a number.
// Those are exact in the binary format, as is the power of ten that scales them, so one
// correctly rounded division gives the library's result.
namespace KvDecimalText
{
double ReadDouble(const char* text, char** outEnd);
float ReadFloat(const char* text, char** outEnd);
} // namespace KvDecimalText
