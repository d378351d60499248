#!/usr/bin/env bash
# The boundary check passes on a small tree that keeps the rules and fails, naming the file,
# on each kind of include that breaks them.
set -euo pipefail
check=$(cd "$(dirname "$0")" && pwd)/check_module_boundaries.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

put() { # put FILE [INCLUDE...]
    mkdir -p "$tree/$(dirname "$1")"
    local file=$1
    shift
    printf '#include "%s"\n' "$@" >"$tree/$file"
}
put KvFoundation/api/public/IO/KvIOStream.h
put KvFoundation/IO/KvArchive.h IO/KvIOStream.h
put KvFoundation/testaccess/KvFoundationTestAccess.h IO/KvArchive.h
put KvResourceCommon/api/public/host/KvHost.h IO/KvIOStream.h
put KvResourceCommon/host/KvHostDetail.h host/KvHost.h
put KvResourceCommon/host/KvHost.cpp host/KvHostDetail.h IO/KvIOStream.h
put tests/foundation/KvArchiveTests.cpp testaccess/KvFoundationTestAccess.h support/KvLocal.h
put tests/foundation/support/KvLocal.h

if ! bash "$check" "$tree" >/dev/null 2>&1; then
    echo "FAIL: the check rejects a tree that keeps the rules" >&2
    bash "$check" "$tree" || true
    exit 1
fi

# Planted file | what it includes.
planted=(
    "tests/foundation/KvBad.cpp|IO/KvArchive.h"
    "fuzz/Fuzz_Bad.cpp|KvFoundation/IO/KvArchive.h"
    "bench/BadBench.cpp|../KvFoundation/IO/KvArchive.h"
    "KvResourceCommon/host/KvBad.cpp|IO/KvArchive.h"
    "KvResourceCommon/host/KvBadAccess.cpp|testaccess/KvFoundationTestAccess.h"
    "KvResourceCommon/api/public/host/KvBad.h|host/KvHostDetail.h"
)
failures=0
for row in "${planted[@]}"; do
    file=${row%%|*}
    put "$file" "${row#*|}"
    if output=$(bash "$check" "$tree" 2>&1) || [[ $output != *"$file:1:"* ]]; then
        echo "FAIL: not caught: $file including \"${row#*|}\"" >&2
        failures=$((failures + 1))
    fi
    rm "$tree/$file"
done
echo "${#planted[@]} planted violations, $((${#planted[@]} - failures)) caught"
((failures == 0))
