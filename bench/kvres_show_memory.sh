#!/usr/bin/env bash
# Peak memory of `kvres show` on the sources that are cheapest to write and dearest to import,
# against ten times their size plus a fixed allowance (the tool's own footprint included).
# Usage: kvres_show_memory.sh KVRES [MEBIBYTES]   (sources of about that size, default 4)
set -u
kvres=$1
size=$((${2:-4} * 1024 * 1024))
allowance_kib=$((16 * 1024))
if [ ! -x /usr/bin/time ]; then
    echo "needs /usr/bin/time (Debian package 'time')"
    exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Little-endian 32-bit values as printf escapes.
u32() {
    local value
    for value in "$@"; do
        printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((value & 255)) $((value >> 8 & 255)) $((value >> 16 & 255)) \
            $((value >> 24 & 255))
    done
}

# A DDS header: width, height, mip count, pixel format flags, four-character code, caps2.
dds_header() {
    printf "$(u32 0x20534444 124 0 "$2" "$1" 0 0 "$3")"
    head -c 44 /dev/zero
    printf "$(u32 32 "$4" "$5" 32 0xFF 0xFF00 0xFF0000 0xFF000000 0 "$6" 0 0 0)"
}

# Lines of the text repeated up to the size.
repeated() {
    yes "$1" | head -c "$size"
}

font_head='<font><info size="32"/><common scaleW="256" scaleH="256"/><pages><page file="f.dds"/></pages><chars count="1">'

dds_header 1 1 1000000 0x40 0 0 >"$work/million-mips.dds"
dds_header 2147516416 4294901761 1 0x4 0x35545844 0x200 >"$work/cube-size-overflow.dds"
{
    dds_header 1024 1024 1 0x41 0 0
    head -c $((size / 2)) /dev/zero
} >"$work/half-its-pixels.dds"
repeated '<a>' >"$work/nested.fnt"
{
    echo "$font_head"
    repeated '<a/>       '
    echo '</chars></font>'
} >"$work/node-flood.fnt"
{
    echo '<i>'
    repeated '<Input/>   '
    echo '</i>'
} >"$work/command-flood.xml"
repeated $'=\r' >"$work/en_us.i18n"
repeated $'MENU_OPTIONS_TITLE=Options of the game menu\r' >"$work/fr_fr.i18n"
head -c "$size" /dev/urandom >"$work/noise.wav"
head -c "$size" /dev/urandom >"$work/noise.gfx"

failures=0
for source in "$work"/*; do
    bytes=$(stat -c %s "$source")
    peak_kib=$(/usr/bin/time -f %M "$kvres" show "$source" 2>&1 >/dev/null | tail -n 1)
    limit_kib=$((bytes * 10 / 1024 + allowance_kib))
    verdict=ok
    if [ "$peak_kib" -gt "$limit_kib" ]; then
        verdict=OVER
        failures=$((failures + 1))
    fi
    printf '%-4s %-24s %10d bytes  peak %8d KiB  limit %8d KiB\n' "$verdict" "$(basename "$source")" "$bytes" \
        "$peak_kib" "$limit_kib"
done
echo "$failures over the limit"
[ "$failures" -eq 0 ]
