#!/usr/bin/env bash
# End-to-end checks of material files in `kvres import`: each updates the mesh saved under its
# name in the project, one check per outcome.
set -u
kvres=$1
examples=$2
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
material=props/crate_data/materials/crate.xml
mesh=props/crate_data/materials/crate.mesh.json
# Sources are named relative to the current folder, as the project names them.
import_into() {
    local sources=$1 project=$2
    shift 2
    bash -c "cd '$sources' && '$kvres' import $material --project '$project' $*"
}

cp -r "$examples/project" "$work/project"
expect updates 0 "Updated the saved Rendering_Mesh 'props\\crate_data\\materials\\crate' from $material" \
    import_into "$examples/sources" "$work/project"
expect lightmapped 0 '"m_fSpecularMultiplier": 0.6' cat "$work/project/$mesh"
expect texture-path 0 '"m_strDefaultTexture": "props\\crate_d"' cat "$work/project/$mesh"
expect no-saved-mesh 1 "FAILED $material: the file updates the saved Rendering_Mesh 'props\\crate_data\\materials\\crate', which the project does not hold" \
    import_into "$examples/sources" "$work/empty-project"
expect show-has-no-project 1 "and no project is given" "$kvres" show "$examples/sources/$material"

# A file of the mesh's name without materials, imported as a mesh, saves the mesh as it was.
mkdir -p "$work/plain/props/crate_data/materials"
printf '<MaterialFile/>' >"$work/plain/$material"
expect nothing-to-apply 0 "Updated the saved Rendering_Mesh" import_into "$work/plain" "$work/project" --type mesh
expect nothing-to-apply-kept 0 '"m_fSpecularMultiplier": 0.6' cat "$work/project/$mesh"

printf '{' >"$work/project/$mesh"
expect broken-saved-mesh 1 "$mesh: is not valid JSON" import_into "$examples/sources" "$work/project"

finish
