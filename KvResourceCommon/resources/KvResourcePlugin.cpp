#include "resources/KvResourcePlugin.h"

void KvResourcePlugin::Deinit() {}

void KvResourcePlugin::ExportUnregisteredImporters(KvResourceImporterRegistry&) {}

std::vector<const KvResourceDescriptor*> KvResourcePlugin::GetUnregisteredDescriptors() const
{
    return {};
}
