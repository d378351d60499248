#!/usr/bin/env bash
# demo.sh BUILD_DIR TOOLS_PREFIX: builds this workspace twice from a fresh disk cache. The first
# build runs every action; the second, after a clean, must take every one of them from the
# cache. The project it assembles must then be, byte for byte, the one `kvres import` writes.
set -euo pipefail
build=$(realpath "$1")
tools=$(realpath "$2")
examples=$(realpath "$(dirname "$0")/..")
cd "$(dirname "$0")"
cache=$build/bazel-disk-cache
rm -rf "$cache"
bazel=(bazel --output_user_root="$build/bazel-root")
flags=(--disk_cache="$cache" --repo_env=KVRES_PREFIX="$tools")

# build LOG: one build from clean; Debian's sandbox narrates each action on stderr, which is left out.
build() {
    "${bazel[@]}" clean
    "${bazel[@]}" build //:project "${flags[@]}" 2>&1 | grep -v 'src/main/tools/linux-sandbox' | tee "$1"
}

build "$build/bazel-first.log"
build "$build/bazel-second.log"
summary=$(grep -E '^INFO: [0-9]+ processes:' "$build/bazel-second.log" | tail -1)
executed=$(sed -E 's/^INFO: [0-9]+ processes: //; s/[0-9]+ (internal|remote cache hit)[,.]? ?//g' <<<"$summary")
if ! grep -q 'remote cache hit' <<<"$summary" || [ -n "$executed" ]; then
    echo "bazel-demo: the second build ran actions instead of taking them from the cache: $summary" >&2
    exit 1
fi
echo "bazel-demo: second build, every action from the cache: $summary"

reference=$build/bazel-reference-project
rm -rf "$reference"
cp -r "$examples/project" "$reference"
"$tools/bin/kvres" import "$examples/particles" --project "$reference" >/dev/null
"$tools/bin/kvres" import "$examples/sources" --project "$reference" >/dev/null
rm "$reference/.kvlock"
diff -r "$reference" "$("${bazel[@]}" info bazel-bin 2>/dev/null)/project"
echo "bazel-demo: the assembled project is the one kvres import writes"
"${bazel[@]}" shutdown
