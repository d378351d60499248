#pragma once

class KvResourceHost;

// Prints the registered resource types: names, data types, load order and importers.
int RunTypesCommand(KvResourceHost& host);
