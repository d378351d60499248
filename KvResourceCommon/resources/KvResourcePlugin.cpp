#include "resources/KvResourcePlugin.h"

void KvResourcePlugin::Deinit() {}

std::vector<const KvResourceDescriptor*> KvResourcePlugin::GetUnregisteredDescriptors() const
{
    return {};
}
