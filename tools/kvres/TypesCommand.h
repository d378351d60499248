#pragma once

class KvResourceHost;

// Prints the registered resource types (names, data types, load order, importers), then the
// types the plug-ins export without registering them, marked as such.
int RunTypesCommand(KvResourceHost& host);
