#!/usr/bin/env bash
# End-to-end checks of `kvres types` and `kvres schema`, one per exit path, and of what the tool
# and the game module link.
set -u
kvres=$1
game_module=$2
failing_module=$3
source "$(dirname "$0")/expect.sh"

# links_host_only FILE: the file needs the host library and no plug-in, which is only ever loaded
# at run time.
links_host_only() {
    local needed
    needed=$(readelf -d "$1" | grep NEEDED) || return 1
    grep -q libKvResourceCommon <<<"$needed" && ! grep -q KvResourcePlugin <<<"$needed" && echo "host only"
}
expect kvres-links-host-only 0 "host only" links_host_only "$kvres"
expect game-module-links-host-only 0 "host only" links_host_only "$game_module"

expect types 0 "Rendering_Texture          texture              KvProjectData_Core_Raw_Texture" "$kvres" types
expect types-unregistered 0 "Physics_Collection         physics              KvProjectData_Core_Raw_PhysicsCollection               -                                          1     - (exported, not registered)" "$kvres" types
expect types-last-registered 0 "effectbank                 effectbanks" "$kvres" types
expect schema-text 0 '  m_eFormat enum tTextureFormat DisplayName("Format") CategoryName("Texture")' \
    "$kvres" schema KvProjectData_Core_Raw_Texture
expect schema-json 0 '"valueType": "tTextureFormat"' "$kvres" schema KvProjectData_Core_Raw_Texture --json
expect schema-reachable 0 '"type": "KvProjectData_Core_Raw_Texture_Mip"' \
    "$kvres" schema KvProjectData_Core_Raw_Texture_Payload --json --reachable
expect usage-error 2 "sources is required" "$kvres" import
expect schema-unknown 1 "kvres schema: no reflected type is named 'KvNoSuchType'" "$kvres" schema KvNoSuchType
expect bad-plugin 1 "kvres: cannot load module '/nonexistent/plugin.so'" \
    "$kvres" --plugin /nonexistent/plugin.so types
expect plugin-start-fails 1 "kvres: module '$failing_module' failed to start: module\\KvTestFailingModule::KvTestFailingModule::Start(1)" \
    "$kvres" --plugin "$failing_module" types
expect classes 0 "KvResourcePlugin_Core_Texture" "$kvres" classes

finish
