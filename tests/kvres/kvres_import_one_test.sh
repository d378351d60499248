#!/usr/bin/env bash
# End-to-end checks of `kvres import-one`, the form of the import a build system runs as one
# action per source: importing the examples one source at a time, in two orders, each into its
# own folder, and laying the folders over the saved project as the build rules do gives the very
# tree `kvres import` writes.
set -u
kvres=$1
examples=$2
assemble=$3
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The reference: the saved example project, then the particles, then the other sources.
cp -r "$examples/project" "$work/imported"
"$kvres" import "$examples/particles" --project "$work/imported" --jobs 1 >/dev/null
"$kvres" import "$examples/sources" --project "$work/imported" --jobs 1 >/dev/null
rm "$work/imported/.kvlock"

# import_each ROOT PROJECT OUTBASE SORT: one import-one per source below ROOT, taken in the
# order of SORT, each into OUTBASE/<n>, resolving against PROJECT.
import_each() {
    local root=$1 project=$2 outbase=$3 order=$4 n=0
    while IFS= read -r source; do
        n=$((n + 1))
        "$kvres" import-one "$source" --root "$root" --project "$project" --out "$outbase/$n" ||
            echo "import-one failed: $source"
    done < <(find "$root" -type f | $order)
}

# layer DEST BASE IMPORTS...: the imports' folders laid over the base into DEST.
layer() {
    local dest=$1 base=$2
    shift 2
    local imports=()
    for folder in "$@"; do
        imports+=(--import "$folder")
    done
    "$assemble" "$dest" --base "$base" "${imports[@]}"
}

for order in sort "sort -r"; do
    tree="$work/${order// /}"
    import_each "$examples/particles" "$examples/project" "$tree/particles" "$order"
    layer "$tree/stage" "$examples/project" "$tree"/particles/*
    import_each "$examples/sources" "$tree/stage" "$tree/sources" "$order"
    layer "$tree/project" "$tree/stage" "$tree"/sources/*
done
expect same-as-import 0 "" diff -r "$work/imported" "$work/sort/project"
expect order-free 0 "" diff -r "$work/sort/project" "$work/sort-r/project"
expect two-imports-one-file 1 "is written by two imports" \
    layer "$work/clash" "$examples/project" "$work/sort/sources"/* "$work/sort-r/sources"/*
expect one-source-one-file 0 "1" bash -c "find '$work/sort/sources' -type f | grep -c 'camp\.'"

# What an action is not given, it does not read: without the saved mesh the material has
# nothing to update; a folder already holding files would lend it saved GUIDs.
material="$examples/sources/props/crate_data/materials/crate.xml"
expect no-project 1 "which the project does not hold" \
    "$kvres" import-one "$material" --root "$examples/sources" --out "$work/material"
expect output-not-empty 1 "the output folder $work/sort/project is not empty" \
    "$kvres" import-one "$material" --root "$examples/sources" --out "$work/sort/project"
expect output-a-file 1 "is not a folder" \
    "$kvres" import-one "$material" --root "$examples/sources" --out "$material"
expect missing-source 1 "FAILED $work/none.xml" \
    "$kvres" import-one "$work/none.xml" --root "$work" --out "$work/none"
finish
