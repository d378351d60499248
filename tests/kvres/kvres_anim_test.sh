#!/usr/bin/env bash
# End-to-end checks of `kvres anim`: one per exit path, with the exact message.
set -u
kvres=$1
example=$2/animation/walk.anim.json
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/expect.sh"

expect info 0 "keys: 61" "$kvres" anim info "$example"
expect sample 0 "pelvis                   local t (0, 1, 0.6)" "$kvres" anim sample "$example" --time 0.5
expect optimize 0 "keys after: 41" "$kvres" anim optimize "$example" --position-tolerance 0.005 \
    --angle-tolerance 1 -o "$work/reduced.json"
expect reduced-reloads 0 "keys: 41" "$kvres" anim info "$work/reduced.json"
expect missing-file 1 "kvres anim: $work/none.json: cannot be opened" "$kvres" anim info "$work/none.json"
printf '{"bones": [' >"$work/truncated.json"
expect malformed 1 "kvres anim: $work/truncated.json: is not valid JSON" "$kvres" anim info "$work/truncated.json"
echo '{"bones":[{"name":"a","parent":-1}],"keys":[{"time":0,"rotations":[[0,0,0]],"translations":[[0,0,0]]}]}' \
    >"$work/short.json"
expect short-rotation 1 "keys[0].bone 0 rotation: expected an array of 4 numbers" "$kvres" anim info "$work/short.json"
echo '{"bones":[],"keys":[]}' >"$work/empty.json"
expect sample-without-keys 1 "the animation has no keys to sample" "$kvres" anim sample "$work/empty.json" --time 0
# A tolerance that is no finite number would make every pose match (NaN) or none differ (inf).
for tolerance in nan inf -inf 1e39; do
    expect "position-tolerance-$tolerance" 2 "--position-tolerance: $tolerance is not a finite number" \
        "$kvres" anim optimize "$example" --position-tolerance "$tolerance" --angle-tolerance 1
done
expect angle-tolerance-nan 2 "--angle-tolerance: NaN is not a finite number" \
    "$kvres" anim optimize "$example" --position-tolerance 0.005 --angle-tolerance NaN

finish
