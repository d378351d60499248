#!/usr/bin/env bash
# assemble_project.sh OUT [--base FOLDER | --file FILE PATH | --import FOLDER]...
# Lays project folders and files over one another into OUT, in the order given. An import's
# folder may replace what a base or a file put there, never what another import wrote; blobs are
# named by their content, so the same one from two imports is the same file.
set -euo pipefail
out=$1
shift
mkdir -p "$out"
declare -A imported_by=()

copy_folder() {
    # Inputs may be links into a cache: copy what they point to, writable for the next layer.
    cp -RL "$1/." "$out/"
    chmod -R u+w "$out"
}

while [ $# -gt 0 ]; do
    case $1 in
    --base)
        copy_folder "$2"
        shift 2
        ;;
    --file)
        mkdir -p "$(dirname "$out/$3")"
        cp -L "$2" "$out/$3"
        chmod u+w "$out/$3"
        shift 3
        ;;
    --import)
        while IFS= read -r -d '' file; do
            path=${file#"$2"/}
            if [[ $path != .kvblobs/* && -n ${imported_by[$path]:-} ]]; then
                echo "assemble_project: $path is written by two imports: ${imported_by[$path]} and $2" >&2
                exit 1
            fi
            imported_by[$path]=$2
        done < <(find -L "$2" -type f -print0)
        copy_folder "$2"
        shift 2
        ;;
    *)
        echo "assemble_project: unknown argument $1" >&2
        exit 2
        ;;
    esac
done
