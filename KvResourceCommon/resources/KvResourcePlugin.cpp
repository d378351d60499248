#include "Resources/KvResourcePlugin.h"

void KvResourcePlugin::Deinit() {}

std::vector<const KvResourceDescriptor*> KvResourcePlugin::GetUnregisteredDescriptors() const
{
    return {};
}
