#include "IO/KvArchive.h"

#include "Foundation/KvReport.h"

void KvArchive::Error(const char* message)
{
    KvLogReport(kKvLogLevelWarning, {"IO\\KvArchive", "KvArchive::Error", 67}, "Archive error: %s", message);
}
