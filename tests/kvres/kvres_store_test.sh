#!/usr/bin/env bash
# End-to-end checks that text which is not UTF-8 is shown and stored byte for byte.
set -u
kvres=$1
source "$(dirname "$0")/expect.sh"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

printf 'menu.start=Caf\xe9\r\n' >"$folder/latin1.i18n"
expect show-latin1 0 '"$latin1": "Café"' "$kvres" show "$folder/latin1.i18n"
expect import-latin1 0 "Imported 1 of 1 files" "$kvres" import "$folder/latin1.i18n" --project "$folder/project"
expect stored-latin1 0 '"$latin1": "Café"' cat "$folder/project/latin1.i18n.json"
# Importing again loads the stored table first, so its bytes must come back unchanged.
expect reimport-latin1 0 "Imported 1 of 1 files" "$kvres" import "$folder/latin1.i18n" --project "$folder/project" --force

finish
