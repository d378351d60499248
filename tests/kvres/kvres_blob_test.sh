#!/usr/bin/env bash
# End-to-end checks of the blob store: large byte arrays go to <project>/.kvblobs, `kvres show`
# prints their references unless asked to inline them, and `kvres gc` removes only what no
# project file references.
set -u
kvres=$1
examples=$2
source "$(dirname "$0")/expect.sh"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
project=$folder/project

# A 128x128 BGRA texture: 64 KiB of pixels, the smallest array stored as a blob. Every pixel is
# blue first, so the imported RGBA bytes are ff 00 00 ff repeated.
hash=$(python3 - "$folder/large.dds" <<'PY'
import hashlib, struct, sys
pixels = bytes([0, 0, 255, 255]) * (128 * 128)
header = struct.pack("<7I44x", 124, 0x1007, 128, 128, 0, 0, 1)
pixel_format = struct.pack("<8I", 32, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
open(sys.argv[1], "wb").write(b"DDS " + header + pixel_format + struct.pack("<5I", 0x1000, 0, 0, 0, 0) + pixels)
print(hashlib.sha256(bytes([255, 0, 0, 255]) * (128 * 128)).hexdigest())
PY
)
blob=$project/.kvblobs/${hash:0:2}/${hash:2}

expect show-reference 0 "\"\$blob\": \"sha256:$hash\"" "$kvres" show "$folder/large.dds"
expect show-inline 0 '"m_aPixelData": "/wAA//8AAP//AAD/' "$kvres" show "$folder/large.dds" --inline-bytes
expect show-small-inline 0 '"m_aPixelData": "//////8AAP//' "$kvres" show "$examples/sources/textures/checker.dds"

# A blob that cannot be stored fails its file before any of its project files is written.
mkdir -p "$folder/unwritable"
printf 'x' >"$folder/unwritable/.kvblobs"
expect unwritable-blobs 1 "Not a directory [$folder/unwritable/.kvblobs]" \
    "$kvres" import "$folder/large.dds" --project "$folder/unwritable"
expect unwritable-nothing-written 0 "" test ! -e "$folder/unwritable/large.texture.json" \
    -a ! -e "$folder/unwritable/large.texture.payload.json"

cp "$examples/sources/textures/checker.dds" "$folder/"
expect import 0 "Imported 2 of 2 files" "$kvres" import "$folder/large.dds" "$folder/checker.dds" --project "$project"
expect stored-reference 0 "\"\$blob\": \"sha256:$hash\"" cat "$project/large.texture.payload.json"
expect stored-small-inline 0 '"m_aPixelData": "//////8AAP//' cat "$project/checker.texture.payload.json"
expect stored-blob 0 "$hash" sha256sum "$blob"
# Importing again loads the saved resources, blobs included.
expect reimport 0 "Imported 2 of 2 files" "$kvres" import "$folder/large.dds" "$folder/checker.dds" --project "$project" --force
# A saved file whose blob is gone or cut is not up to date.
expect up-to-date 0 "2 up to date" "$kvres" import "$folder/large.dds" "$folder/checker.dds" --project "$project"
mv "$blob" "$folder/blob"
expect blob-missing 0 "Imported 1 of 2 files" "$kvres" import "$folder/large.dds" "$folder/checker.dds" --project "$project"
expect blob-back 0 "$hash" sha256sum "$blob"
truncate -s 100 "$blob"
expect blob-cut 0 "Imported 1 of 2 files" "$kvres" import "$folder/large.dds" "$folder/checker.dds" --project "$project"
expect blob-whole 0 "$hash" sha256sum "$blob"

orphan=$project/.kvblobs/00/$(printf '0%.0s' {1..62})
mkdir -p "$(dirname "$orphan")"
printf 'orphan' >"$orphan"
printf 'interrupted' >"$project/.kvblobs/.tmp-Ab12Cd"
expect gc 0 "removed 2 files, freed 17 bytes" "$kvres" gc --project "$project"
expect gc-kept-referenced 0 "$hash" sha256sum "$blob"
expect gc-removed-orphan 0 "" test ! -e "$project/.kvblobs/00" -a ! -e "$project/.kvblobs/.tmp-Ab12Cd"

# A project file that cannot be read might reference any blob: nothing is removed.
mkdir -p "$(dirname "$orphan")"
printf 'orphan' >"$orphan"
printf '{' >"$project/broken.texture.json"
expect gc-refuses 1 "broken.texture.json: cannot be read as JSON; no blob removed" "$kvres" gc --project "$project"
expect gc-refused-kept 0 "" test -e "$orphan"
rm "$project/broken.texture.json" "$project/large.texture.payload.json"
expect gc-unreferenced 0 "removed 2 files, freed 65542 bytes" "$kvres" gc --project "$project"

finish
