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
# The video type is exported under the texture's names; the material importer is exported for
# meshes, not registered.
expect types-unregistered-video 0 "Rendering_Texture          texture              KvProjectData_Core_Raw_Video                           -                                          0     - (exported, not registered)" "$kvres" types
expect types-exported-importer 0 "Rendering_Mesh             mesh                 KvProjectData_Core_Raw_Mesh                            KvProjectData_Core_Mesh_Payload            0     .xml (unregistered)" "$kvres" types
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
# A module without the entry point of its role, or whose start-up fails, is refused with the reason.
plugin=$(dirname "$kvres")/../lib/libKvResourcePlugin_Core.so
expect plugin-without-entry-point 1 "kvres: module '$game_module' has no entry point KvCreateResourcePlugin" \
    "$kvres" --plugin "$game_module" types
expect game-module-without-entry-point 1 "kvres: module '$plugin' has no entry point KvRegisterGameTypes" \
    "$kvres" --game-module "$plugin" types
expect game-module-start-fails 1 "kvres: module '$failing_module' failed to start: module\\KvTestFailingModule::KvTestFailingModule::Start(1)" \
    "$kvres" --game-module "$failing_module" types
expect classes 0 "KvResourcePlugin_Core_Texture" "$kvres" classes

# The tool finds its modules beside it wherever its tree is moved, and first along KV_PLUGIN_PATH.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/bin" "$work/tree/lib" "$work/override"
cp "$kvres" "$work/tree/bin/"
cp "$(dirname "$kvres")/../lib/"libKv{ResourceCommon,ResourcePlugin_Core,GameTypes}.so "$work/tree/lib/"
expect moved-tree 0 "effectbank                 effectbanks" env -u KV_PLUGIN_PATH "$work/tree/bin/kvres" types
cp "$failing_module" "$work/override/libKvResourcePlugin_Core.so"
expect plugin-path-first 1 "kvres: module '$work/override/libKvResourcePlugin_Core.so' failed to start" \
    env KV_PLUGIN_PATH="$work/none:$work/override" "$work/tree/bin/kvres" types
rm "$work/tree/lib/libKvResourcePlugin_Core.so"
expect no-plugin 1 "kvres: cannot load module '$work/tree/lib/libKvResourcePlugin_Core.so'" \
    env -u KV_PLUGIN_PATH "$work/tree/bin/kvres" types

finish
