#pragma once

#include <string>

class KvResource;

// The GUIDs an import gives the objects it made. An object is identified by its resource (type
// and name) and its place in the resource's saved file (a JSON pointer):
// - a new object gets the name-based UUID (version 5) of that identity, so the same sources give
//   byte-identical projects on any machine and in any run;
// - an object saved before at the same place, with the same type, keeps its saved GUID, so
//   references into the resource survive a re-import even when the rules above change.
namespace KvImportIdentity
{
void AssignNameBased(const KvResource& resource);
// Reads the saved raw data file when there is one; an unreadable file keeps nothing.
void KeepSaved(const KvResource& resource, const std::string& savedRawDataPath);
} // namespace KvImportIdentity
