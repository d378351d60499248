#pragma once

#include <string>

// Prints the schema of a reflected type (text, or JSON with bJson), or with bReachable of
// the type and every type its members name; 1 when the type is unknown.
int RunSchemaCommand(const std::string& typeName, bool bJson, bool bReachable);
