#include "Resources/KvResourcePlugin.h"

void KvResourcePlugin::Deinit() {}
