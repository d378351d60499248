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
expect import-examples 0 "Imported 10 of 10 files into $work/project (13 project files written), 0 failed" \
    "$kvres" import "$examples" --project "$work/project"
expect project-texture 0 '"m_eFormat": "FORMAT_RGBA"' cat "$work/project/textures/checker.texture.json"
expect project-shader-name 0 '"m_strName": "LitAlphaTest"' cat "$work/project/shaders/lit.shader.json"
expect project-locale 0 '"m_eLocale": "fr_FR"' cat "$work/project/fr_fr.i18n.json"

# Bad files among good ones fail alone, each with its reason.
cp -r "$examples" "$work/mixed"
printf '<a><b>' >"$work/mixed/input/broken.xml"
head -c 100 "$examples/textures/checker.dds" >"$work/mixed/textures/truncated.dds"
printf 'DDS |' >"$work/mixed/textures/tiny.dds"
echo "made by hand" >"$work/mixed/textures/README.md"
cp -r "$saved" "$work/mixed-project"
expect import-mixed 1 "Imported 11 of 13 files into $work/mixed-project (15 project files written), 2 failed, 1 skipped (no importer)" \
    "$kvres" import "$work/mixed" --project "$work/mixed-project"
expect import-mixed-xml 1 "FAILED $work/mixed/input/broken.xml: Toolbox\\KvToolboxXML::rapidxml::parse_error_handler(24)" \
    "$kvres" import "$work/mixed" --project "$work/mixed-project"
expect import-mixed-dds 1 "FAILED $work/mixed/textures/tiny.dds: importers\\KvResourceImporter_DDS::KvResourceImporter_DDS::ConvertToRaw(" \
    "$kvres" import "$work/mixed" --project "$work/mixed-project"
expect import-missing 1 "FAILED $work/none.dds: no such file or folder" "$kvres" import "$work/none.dds" --project "$work/p2"
expect import-unknown-extension 1 "no importer handles the extension 'txt'" \
    bash -c "echo hi >'$work/notes.txt' && '$kvres' import '$work/notes.txt' --project '$work/p3'"

expect show-texture 0 '"resourceType": "Rendering_Texture"' "$kvres" show "$examples/textures/ui_dxt1.dds"
expect show-payload 0 '"$type": "KvProjectData_Core_Raw_Texture_Mip"' "$kvres" show "$examples/textures/ui_dxt1.dds"
expect show-placeholders 0 '"placeholders": []' "$kvres" show "$examples/fonts/debug.fnt"
expect show-failure 1 "kvres show: $work/mixed/input/broken.xml: Toolbox\\KvToolboxXML" \
    "$kvres" show "$work/mixed/input/broken.xml"

finish
