#pragma once

#include <vector>

class KvResourceDescriptor;
class KvResourceHost;

// Prints the registered resource types (names, data types, load order, importers), then the
// known types the plug-in does not register, marked as such.
int RunTypesCommand(KvResourceHost& host, const std::vector<const KvResourceDescriptor*>& unregistered);
