#!/usr/bin/env bash
# End-to-end checks of `kvres types` and `kvres schema`, one per exit path.
set -u
kvres=$1
source "$(dirname "$0")/expect.sh"

expect types 0 "Rendering_Texture          texture              KvProjectData_Core_Raw_Texture" "$kvres" types
expect types-actor-world 0 "actor_world                actorworld           KvProjectData_Core_Raw_ActorWorld" \
    "$kvres" types
expect types-unregistered 0 "Physics_Collection         physics              KvProjectData_Core_Raw_PhysicsCollection               -                                          1     - (exported, not registered)" "$kvres" types
expect types-last-registered 0 "effectbank                 effectbanks" "$kvres" types
expect schema-text 0 '  m_eFormat enum tTextureFormat DisplayName("Format") CategoryName("Texture")' \
    "$kvres" schema KvProjectData_Core_Raw_Texture
expect schema-json 0 '"valueType": "tTextureFormat"' "$kvres" schema KvProjectData_Core_Raw_Texture --json
expect schema-reachable 0 '"type": "KvProjectData_Core_Raw_Texture_Mip"' \
    "$kvres" schema KvProjectData_Core_Raw_Texture_Payload --json --reachable
expect schema-unknown 1 "kvres schema: no reflected type is named 'KvNoSuchType'" "$kvres" schema KvNoSuchType
expect bad-plugin 1 "kvres: cannot load module '/nonexistent/plugin.so'" \
    "$kvres" --plugin /nonexistent/plugin.so types
expect classes 0 "KvResourcePlugin_Core_Texture" "$kvres" classes

finish
