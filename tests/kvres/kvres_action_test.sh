#!/usr/bin/env bash
# End-to-end checks of `kvres action list|run` on the example project: every kind of action run
# and undone (nothing rewritten), run and saved, and each way a run is refused.
set -u
kvres=$1
examples=$2
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$examples/project" "$work/project"
project=$work/project
guard=$project/prefabs/guard_post.actorprefab.json
door=$project/props/door/door.mesh.json

list() { "$kvres" action list --project "$project" "$@"; }
run() { "$kvres" action run --project "$project" "$@"; }

# What is offered: the mob menu skips the guard post and what it instances below its actors
# (the crate stack, and the barrel through it); Update skips what the yard's children instance.
expect list-mob 0 $'/\tActor \'mob\' as prefab instance\tprefabs\\watchtower' list prefabs/guard_post
expect list-mob-only-one 0 "1" bash -c "'$kvres' action list --project '$project' prefabs/guard_post | grep -c mob"
expect list-update 0 $'/m_apActors/1\tPrefab Update\tUpdate prefab prefabs\\guard_post\n/m_apActors/1\tPrefab Update\tUpdate prefab prefabs\\watchtower' \
    list prefabs/guard_post
expect list-extract 0 $'/m_apActors/1/m_apChildren/0\tPrefab Extract\tExtract prefab prefabs\\crate_stack' \
    list prefabs/guard_post
expect list-no-extract-without-prefab 0 "" bash -c "! '$kvres' action list --project '$project' prefabs/guard_post | grep -F $'/m_apActors/0\tPrefab Extract'"
expect list-rendering 0 $'/\tRendering\tOverride nonSSAO\n/\tRendering\tOverride nonSSAO Skinned' list props/door/door
expect list-rendering-last 0 $'/\tRendering\tSet MeshDecal bindings\n/\tRendering\tRevert Shader Override' list props/door/door
expect list-json 0 '"object": "/m_apActors/1/m_apChildren/0",
    "menu": "Prefab Extract",
    "label": "Extract prefab prefabs\\crate_stack"' list prefabs/guard_post --json

# Each kind run and undone in one process gives back the saved text: nothing is rewritten.
cp -r "$project" "$work/before"
expect undo-mob 0 "unchanged $guard" run prefabs/guard_post --object / \
    --menu "Actor 'mob' as prefab instance" --label 'prefabs\watchtower' --undo
expect undo-update 0 "unchanged $guard" run prefabs/guard_post --object /m_apActors/1 \
    --menu "Prefab Update" --label 'Update prefab prefabs\watchtower' --undo
expect undo-extract 0 "unchanged $guard" run prefabs/guard_post --object /m_apActors/1/m_apChildren/0 \
    --menu "Prefab Extract" --label 'Extract prefab prefabs\crate_stack' --undo
for label in "Override nonSSAO AlphaTested" "Revert Shader Override"; do
    expect "undo-$label" 0 "unchanged $door" run props/door/door --object / --menu Rendering --label "$label" --undo
done
expect undo-leaves-files 0 "" diff -r "$work/before" "$project"

# Run and saved: the guard's mob becomes a watchtower without its component and shape, and the
# door's first material gets the override pass.
expect run-mob 0 "saved $guard" run prefabs/guard_post --object / \
    --menu "Actor 'mob' as prefab instance" --label 'prefabs\watchtower'
expect mob-saved 0 '"name": "prefabs\\watchtower"' cat "$guard"
expect mob-component-gone 0 "" bash -c "! grep -q KvActorComponent_MeshShape '$guard'"
expect run-override 0 "saved $door" run props/door/door --object / --menu Rendering --label "Override nonSSAO"
expect override-saved 0 '"name": "gbuffer_noSSAO"' cat "$door"
expect run-decal 0 "saved $door" run props/door/door --object / --menu Rendering --label "Set MeshDecal bindings"
expect decal-saved 0 'door_meshdecal_exterior_at' cat "$door"
expect run-extract 0 "saved $guard" run prefabs/guard_post --object /m_apActors/1/m_apChildren/0 \
    --menu "Prefab Extract" --label 'Extract prefab prefabs\crate_stack'
expect extract-saved 0 '"m_strName": "crate_bottom"' cat "$guard"

# Refusals name what is wrong and save nothing.
expect no-resource 1 "FAILED prefabs/none: the project holds no resource named 'prefabs\\none'" \
    run prefabs/none --object / --menu Rendering --label x
expect no-object 1 "FAILED props/door/door: no object at /m_apActors/9" \
    run props/door/door --object /m_apActors/9 --menu Rendering --label x
expect no-menu 1 "KvProjectData_Core_Raw_Mesh has no menu 'Prefab Update'" \
    run props/door/door --object / --menu "Prefab Update" --label x
expect no-label 1 "the menu 'Rendering' offers no 'x' here (it offers 'Override nonSSAO', " \
    run props/door/door --object / --menu Rendering --label x
expect no-project 1 "kvres action: no project folder $work/none" "$kvres" action list --project "$work/none" x
expect usage 2 "--label is required" run props/door/door --object / --menu Rendering
rm "$project/rendering/pipeline.renderpipeline.json"
expect missing-passes 1 "RenderPasses no longer match hardcodeed native actions changed. Please update native actions" \
    list props/door/door
expect missing-passes-run 1 "FAILED props/door/door: " \
    run props/door/door --object / --menu Rendering --label "Override nonSSAO"

finish
