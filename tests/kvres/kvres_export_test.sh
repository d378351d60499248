#!/usr/bin/env bash
# End-to-end checks of `kvres export-prefab` on the example project: one per exit path.
set -u
kvres=$1
examples=$2
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$examples/project" "$work/project"
exported=$work/project/export/actorprefabs/prefabs/crate_stack.prefab

expect export 0 "$exported" "$kvres" export-prefab prefabs/crate_stack --project "$work/project"
# The barrel has no shape of its own: it is written with its prefab's.
expect fallback-shape 0 $'value="staticmeshes\\barrel.vmesh" />\n\t<property name="ShapeName" value="barrel" />' \
    cat "$exported"
expect placement 0 '<property name="Position" value="1.500000,0.000000,-2.000000" />' cat "$exported"
expect footer 0 "</root>" bash -c "tail -c 7 '$exported'"
expect output-file 0 "$work/out/stack.prefab" \
    "$kvres" export-prefab 'prefabs\crate_stack' --project "$work/project" -o "$work/out/stack.prefab"
expect same-bytes 0 "" cmp "$exported" "$work/out/stack.prefab"
expect no-staging-left 0 "" bash -c "! ls -A '$work/out' '$work/project' | grep -F .kvexport"

expect unknown-prefab 1 "kvres export-prefab: the project $work/project holds no prefab named 'prefabs\\none'" \
    "$kvres" export-prefab prefabs/none --project "$work/project"
expect not-a-prefab 1 "holds no prefab named 'props\\crate_data\\materials\\crate'" \
    "$kvres" export-prefab props/crate_data/materials/crate --project "$work/project"
expect no-project 1 "kvres export-prefab: no project folder $work/none" \
    "$kvres" export-prefab prefabs/crate_stack --project "$work/none"
touch "$work/file"
expect unwritable 1 "FAILED prefabs/crate_stack: $work/file/.kvexport." \
    "$kvres" export-prefab prefabs/crate_stack --project "$work/project" -o "$work/file/stack.prefab"

finish
