#!/usr/bin/env bash
# End-to-end checks of `kvres import` and `kvres show` on the example sources.
set -u
kvres=$1
examples=$2/sources
# The example project the sources update (the crate mesh of the material file).
saved=$2/project
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$saved" "$work/project"
expect import-examples 0 "Imported 11 of 11 files into $work/project (14 project files written), 0 failed" \
    "$kvres" import "$examples" --project "$work/project" --jobs 1
expect project-texture 0 '"m_eFormat": "FORMAT_RGBA"' cat "$work/project/textures/checker.texture.json"
expect project-shader-name 0 '"m_strName": "LitAlphaTest"' cat "$work/project/shaders/lit.shader.json"
expect project-locale 0 '"m_eLocale": "fr_FR"' cat "$work/project/fr_fr.i18n.json"

# Identity: the same sources give the same bytes in another project, and a forced re-import
# rewrites them unchanged; a GUID saved before (here edited by hand) survives the re-import.
cp -r "$saved" "$work/again"
"$kvres" import "$examples" --project "$work/again" --jobs 4 >/dev/null 2>&1
expect reproducible 0 "" diff -r "$work/project" "$work/again"
# A reference to a resource of the same run resolves whatever the order of the files (the prefab
# comes first) and the number of jobs.
mkdir -p "$work/linked/prefabs"
cp "$examples/prefabs/camp.prefab" "$work/linked/prefabs/"
cp "$2"/particles/*.xml "$work/linked/"
for jobs in 1 3; do
    "$kvres" import "$work/linked" --project "$work/linked-$jobs" --jobs "$jobs" >/dev/null 2>&1
done
expect linked-in-one-run 0 '"guid"' grep -A2 '"name": "smoke"' "$work/linked-1/prefabs/camp.actorprefab.json"
expect linked-any-jobs 0 "" diff -r "$work/linked-1" "$work/linked-3"
cp -r "$work/project" "$work/before-reimport"
"$kvres" import "$examples" --project "$work/project" --force >/dev/null 2>&1
expect reimport-unchanged 0 "" diff -r "$work/before-reimport" "$work/project"
font=$work/project/fonts/debug.font.json
sed -i '0,/"m_XRefGUID": "[^"]*"/s//"m_XRefGUID": "00000000-1111-2222-3333-444444444444"/' "$font"
"$kvres" import "$examples" --project "$work/project" --force >/dev/null 2>&1
expect reimport-keeps-guid 0 '"m_XRefGUID": "00000000-1111-2222-3333-444444444444"' cat "$font"

# Incremental: sources older than their saved files are not imported again, unless changed or
# forced; the material, which updates the mesh, always is.
cp -r "$examples" "$work/sources"
cp -r "$saved" "$work/incremental"
"$kvres" import "$work/sources" --project "$work/incremental" >/dev/null 2>&1
expect up-to-date 0 "Imported 1 of 11 files into $work/incremental (1 project files written), 10 up to date, 0 failed" \
    "$kvres" import "$work/sources" --project "$work/incremental"
touch "$work/sources/fonts/debug.fnt"
expect changed-source 0 "Imported 2 of 11 files into $work/incremental (2 project files written), 9 up to date, 0 failed" \
    "$kvres" import "$work/sources" --project "$work/incremental"
expect forced 0 "Imported 11 of 11 files" "$kvres" import "$work/sources" --project "$work/incremental" --force
# A newer host library makes every source stale, as newer modules do.
mkdir -p "$work/tool/bin"
cp "$kvres" "$work/tool/bin/"
cp -r "$(dirname "$kvres")/../lib" "$work/tool/"
# The build's kvres has the build's library folder in its run path; the copy's comes first.
copied_kvres() { LD_LIBRARY_PATH="$work/tool/lib" "$work/tool/bin/kvres" "$@"; }
copied_kvres import "$work/sources" --project "$work/incremental" >/dev/null 2>&1
touch "$work/tool/lib/libKvResourceCommon.so"
expect newer-host 0 "Imported 11 of 11 files" copied_kvres import "$work/sources" --project "$work/incremental"

# Bad files among good ones fail alone, each with its reason.
cp -r "$examples" "$work/mixed"
printf '<a><b>' >"$work/mixed/input/broken.xml"
head -c 100 "$examples/textures/checker.dds" >"$work/mixed/textures/truncated.dds"
printf 'DDS |' >"$work/mixed/textures/tiny.dds"
echo "made by hand" >"$work/mixed/textures/README.md"
cp -r "$saved" "$work/mixed-project"
expect import-mixed 1 "Imported 12 of 14 files into $work/mixed-project (16 project files written), 2 failed, 1 skipped (no importer)" \
    "$kvres" import "$work/mixed" --project "$work/mixed-project"
# One line per failure, the place in the code that reported it only when verbose.
expect import-mixed-xml 1 $'FAILED '"$work/mixed/input/broken.xml: Parse error : unexpected end of data with ''"$'\nFAILED' \
    "$kvres" import "$work/mixed" --project "$work/mixed-project"
expect failures-not-warnings 0 "" bash -c "! '$kvres' import '$work/mixed' --project '$work/mixed-project' --jobs 1 --force 2>&1 | grep warning:"
expect import-verbose 1 "FAILED $work/mixed/input/broken.xml: Parse error : unexpected end of data with '' (Toolbox\\KvToolboxXML::rapidxml::parse_error_handler(24))" \
    "$kvres" --verbose import "$work/mixed" --project "$work/mixed-project"
expect import-mixed-dds 1 "FAILED $work/mixed/textures/tiny.dds: Texture format not handled for file $work/mixed/textures/tiny.dds" \
    "$kvres" import "$work/mixed" --project "$work/mixed-project"
expect import-missing 1 "FAILED $work/none.dds: no such file or folder" "$kvres" import "$work/none.dds" --project "$work/p2"
expect show-missing 1 "FAILED $work/none.dds: cannot open '$work/none.dds'" "$kvres" show "$work/none.dds"
expect report-status 1 "" "$kvres" import "$work/none.dds" "$work/mixed/textures" --project "$work/p2" --report "$work/report.json"
expect report-failed 0 '"source": "'"$work/none.dds"'",
      "resource": null,
      "outputs": [],
      "status": "failed",
      "reason": "no such file or folder",' cat "$work/report.json"
expect report-imported 0 '"resource": "checker",
      "outputs": [
        "'"$work/p2/checker.texture.json"'",' cat "$work/report.json"
expect report-summary 0 '"summary": {
    "imported": ' cat "$work/report.json"
expect import-unknown-extension 1 "no importer handles the extension 'txt'" \
    bash -c "echo hi >'$work/notes.txt' && '$kvres' import '$work/notes.txt' --project '$work/p3'"

expect show-texture 0 '"resourceType": "Rendering_Texture"' "$kvres" show "$examples/textures/ui_dxt1.dds"
expect show-payload 0 '"$type": "KvProjectData_Core_Raw_Texture_Mip"' "$kvres" show "$examples/textures/ui_dxt1.dds"
expect show-placeholders 0 '"placeholders": []' "$kvres" show "$examples/fonts/debug.fnt"
# The prefab's placeholders in creation order.
placeholder_names() {
    "$kvres" show "$1" | sed -n '/"placeholders"/,$p' | grep -o '"m_strName": "[^"]*"' | cut -d'"' -f4 | paste -sd' '
}
expect show-prefab-placeholders 0 \
    'camp\\tent static_meshes\\rock_a smoke props\\barrel sky\\dusk gradients\\globalfoggradient gradients\\globalambientgradient' \
    placeholder_names "$examples/prefabs/camp.prefab"
expect project-prefab-light 0 '"m_fRadius": 8.0' cat "$work/project/prefabs/camp.actorprefab.json"
printf '<?xml version="1.0"?>\n' >"$work/empty.prefab"
expect import-empty-prefab 1 "FAILED $work/empty.prefab: Empty prefab file '$work/empty.prefab'" \
    "$kvres" import "$work/empty.prefab" --project "$work/p4"

# References to resources already in the project are saved whole, the others by name.
mkdir -p "$work/art/sky" "$work/art/gradients"
cp "$examples/textures/checker.dds" "$work/art/sky/dusk.dds"
cp "$examples/textures/checker.dds" "$work/art/gradients/globalfoggradient.dds"
"$kvres" import "$work/art" --project "$work/camp" >/dev/null
(cd "$examples" && "$kvres" import prefabs/camp.prefab --project "$work/camp" >/dev/null)
line_after_name() { grep -A1 -F "\"name\": \"$2\"" "$1" | tail -1; }
camp="$work/camp/prefabs/camp.actorprefab.json"
expect prefab-sky-resolved 0 '"guid": "' line_after_name "$camp" 'sky\\dusk'
expect prefab-fog-resolved 0 '"guid": "' line_after_name "$camp" 'gradients\\globalfoggradient'
expect prefab-ambient-by-name 0 '}' line_after_name "$camp" 'gradients\\globalambientgradient'

expect show-failure 1 "FAILED $work/mixed/input/broken.xml: Parse error" \
    "$kvres" show "$work/mixed/input/broken.xml"

finish
