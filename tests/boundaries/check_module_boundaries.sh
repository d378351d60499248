#!/usr/bin/env bash
# Fails when an #include reaches past a module's public folder:
#  - a test, fuzz harness or benchmark includes a module's private header itself, instead of
#    through the module's test-access header;
#  - a module includes another module's private or test-access header;
#  - a public header includes a private header of its own module, which its users cannot see.
# An include is resolved as the compiler would: beside the including file, then below the
# modules' folders (the including module's own first), then below the repository.
# Usage: check_module_boundaries.sh [REPOSITORY]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

# Inner folders first: a file belongs to the first module whose folder holds it.
modules=(KvResourcePlugin_Core/animtech KvFoundation KvResourceCommon KvResourcePlugin_Core KvGameTypes tools/kvres)
scanned=(KvFoundation KvResourceCommon KvResourcePlugin_Core KvGameTypes tools tests fuzz bench)

# Sets module to the module that holds file $1, empty for none.
module_of() {
    module=""
    local m
    for m in "${modules[@]}"; do
        if [[ $1 == "$m"/* ]]; then
            module=$m
            return
        fi
    done
}

# Sets kind to public, testaccess or private for file $1 below module $2.
kind_of() {
    case $1 in
    "$2"/api/public/*) kind=public ;;
    "$2"/testaccess/*) kind=testaccess ;;
    *) kind=private ;;
    esac
}

# Sets header to the repository path that `#include "$2"` in file $1 names; empty when it lies
# outside the repository (system, third-party or headers found through a test's own folders).
resolve() {
    local file=$1 name=$2 candidate m
    header=""
    candidate=${file%/*}/$name
    [[ $name == *..* ]] && candidate=$(realpath -m --relative-to=. "$candidate")
    if [[ -f $candidate ]]; then
        header=$candidate
        return
    fi
    module_of "$file"
    for m in $module "${modules[@]}"; do
        for candidate in "$m/api/public/$name" "$m/$name"; do
            if [[ -f $candidate ]]; then
                header=$candidate
                return
            fi
        done
    done
    [[ -f $name ]] && header=$name
    return 0
}

violations=0
report() {
    echo "$1: $2" >&2
    violations=$((violations + 1))
}

folders=()
for folder in "${scanned[@]}"; do
    [[ -d $folder ]] && folders+=("$folder")
done
while IFS=: read -r file line text; do
    [[ $text =~ \"([^\"]*)\" ]] || continue
    name=${BASH_REMATCH[1]}
    resolve "$file" "$name"
    [[ -n $header ]] || continue
    module_of "$header"
    target=$module
    [[ -n $target ]] || continue
    kind_of "$header" "$target"
    included=$kind
    module_of "$file"
    source=$module
    where="$file:$line: \"$name\""
    if [[ -z $source ]]; then
        [[ $included == private ]] && report "$where" "private header of $target; include its test-access header"
    elif [[ $source != "$target" ]]; then
        [[ $included != public ]] && report "$where" "$included header of another module, $target"
    else
        kind_of "$file" "$source"
        [[ $kind == public && $included != public ]] && report "$where" "a public header includes $header"
    fi
done < <(find "${folders[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' \) -print0 |
    xargs -0 grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' || true)

if ((violations > 0)); then
    echo "$violations include(s) cross a module boundary" >&2
    exit 1
fi
echo "module boundaries: every include goes through a public folder or a test-access header"
