#!/usr/bin/env bash
# End-to-end checks of particle effects: `kvres show --bind` prints the effect the binder parsed,
# `kvres import` saves the text only, and bad effects end in a logged reason, never a crash.
set -u
kvres=$1
examples=$2
particles=$examples/particles
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expect show-type 0 '"resourceType": "Rendering_ParticleSystem"' "$kvres" show "$particles/smoke.xml"
expect show-bound 0 '"bound": {' "$kvres" show --bind "$particles/smoke.xml"
expect show-bound-frames 0 '"group.texture.usedframes": 16' "$kvres" show --bind "$particles/smoke.xml"
expect show-bound-path 0 '"filename": "textures\\particles\\smoke_4x4.dds"' "$kvres" show --bind "$particles/smoke.xml"
expect show-bound-second-group 0 '"description.name": "Embers"' "$kvres" show --bind "$particles/sparks.xml"
expect show-without-bind 1 "" bash -c "'$kvres' show '$particles/smoke.xml' | grep -q '\"bound\"'"
expect schema-of-the-bound-effect 0 "group.texture.usedframes" "$kvres" schema KvParticleEffectFile --reachable
expect show-bind-no-binder 0 '"bound": null' "$kvres" show --bind "$examples/sources/fonts/debug.fnt"

# The project keeps the text; the prefab's smoke placeholder resolves to the imported effect.
expect import 0 "Imported 2 of 2 files" "$kvres" import "$particles" --project "$work/project"
expect import-text-only 1 "" grep -q groupdescriptor "$work/project/smoke.particle.json"
(cd "$examples/sources" && "$kvres" import prefabs/camp.prefab --project "$work/project" >/dev/null)
expect prefab-smoke-resolved 0 '"guid": "' grep -A1 -F '"name": "smoke"' "$work/project/prefabs/camp.actorprefab.json"

# Bad effects: each file alone, with its reason.
printf '<particlelayer><groupdescriptor><group>' >"$work/malformed.xml"
expect malformed 1 "Parse error : unexpected end of data" "$kvres" show --bind "$work/malformed.xml"
printf '<particlelayer><groupdescriptor><group><positioncurve numpoints="2147483648"><point pos="1,1"/></positioncurve></group></groupdescriptor></particlelayer>' \
    >"$work/huge-count.xml"
expect huge-count 0 '"pos": [' "$kvres" show --bind "$work/huge-count.xml"
python3 -c "print('<particlelayer><groupdescriptor>' + '<a>' * 300 + '</a>' * 300 + '</groupdescriptor></particlelayer>')" \
    >"$work/deep.xml"
expect deep 1 "nests elements deeper than 256 levels" "$kvres" show --bind "$work/deep.xml"
python3 -c "print('<particlelayer>' + '<groupdescriptor/>' * 20000 + '</particlelayer>')" >"$work/crowded.xml"
expect crowded 0 "Ignoring crowded: importing its 360033 bytes would take more than 10 times as many" \
    "$kvres" show --bind "$work/crowded.xml"

finish
