#!/usr/bin/env bash
# End-to-end checks that a batch import fails file by file, never loses or truncates project
# files, never writes outside the project folder, and names resources as `kvres show` does.
set -u
kvres=$1
examples=$2/sources
test_plugin=$3
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
chmod 755 "$work"
trap 'chmod -R u+rwX "$work"; rm -rf "$work"' EXIT

# Permissions do not bind root: the commands that meet them run as an unprivileged user.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

# capture FILE COMMAND...: the command's output and exit status, for several checks of one run.
capture() {
    local file=$1
    shift
    "$@" >"$file" 2>&1
    echo "exit status $?" >>"$file"
}

# Anything an import throws fails that file alone, and leaves no empty project file.
mkdir "$work/thrown"
echo "throw=bad_alloc" >"$work/thrown/bad_alloc.tnode"
echo "fatal" >"$work/thrown/fatal.tnode"
echo "payload=1" >"$work/thrown/good.tnode"
capture "$work/thrown.out" "$kvres" --plugin "$test_plugin" import "$work/thrown" --project "$work/thrown-project"
expect thrown-goes-on 0 "Imported 1 of 3 files into $work/thrown-project (2 project files written), 2 failed" \
    cat "$work/thrown.out"
expect thrown-status 0 "exit status 1" cat "$work/thrown.out"
expect thrown-bad-alloc 0 "FAILED $work/thrown/bad_alloc.tnode: out of memory" cat "$work/thrown.out"
expect thrown-fatal 0 "Broken file $work/thrown/fatal.tnode" cat "$work/thrown.out"
expect thrown-no-empty-file 0 "none empty" bash -c \
    "[ -z \"\$(find '$work/thrown-project' -name '*.json' -empty)\" ] && echo none empty"
# With workers, even a crash fails its file alone; the others are imported as one process would.
echo "crash" >"$work/thrown/crash.tnode"
expect crash-alone 1 "FAILED $work/thrown/crash.tnode: the worker importing it ended by signal Aborted" \
    "$kvres" --plugin "$test_plugin" import "$work/thrown" --project "$work/crash-project" --jobs 2
expect crash-others 1 "Imported 1 of 4 files into $work/crash-project (2 project files written), 3 failed" \
    "$kvres" --plugin "$test_plugin" import "$work/thrown" --project "$work/crash-project" --jobs 2 --force
rm "$work/thrown/crash.tnode"
expect show-thrown 1 "FAILED $work/thrown/bad_alloc.tnode: out of memory" \
    "$kvres" --plugin "$test_plugin" show "$work/thrown/bad_alloc.tnode"

# A folder walk skips what it cannot read, with a warning, and never follows a loop.
mkdir -p "$work/walk/sub" "$work/walk/locked" "$work/walk-project"
chmod 777 "$work/walk-project"
cp "$examples/en_us.i18n" "$work/walk/sub/"
cp "$examples/fr_fr.i18n" "$work/walk/locked/"
ln -s .. "$work/walk/sub/up"
ln -s self "$work/walk/self"
ln -s missing "$work/walk/broken"
chmod 000 "$work/walk/locked"
capture "$work/walk.out" "${as_user[@]}" "$kvres" import "$work/walk" --project "$work/walk-project"
expect walk-status 0 "exit status 0" cat "$work/walk.out"
expect walk-imports-the-rest 0 "Imported 1 of 1 files" cat "$work/walk.out"
expect walk-unreadable 0 "kvres import: skipped $work/walk/locked: Permission denied" cat "$work/walk.out"
expect walk-loop 0 "kvres import: skipped $work/walk/sub/up: the folder was walked already as $work/walk" \
    cat "$work/walk.out"
expect walk-broken-link 0 "kvres import: skipped $work/walk/broken: No such file or directory" cat "$work/walk.out"
expect walk-self-link 0 "kvres import: skipped $work/walk/self: Too many levels of symbolic links" \
    cat "$work/walk.out"

# A failed write is reported with the system's reason and keeps the previous file whole.
mkdir -p "$work/readonly/sub" "$work/readonly-project/sub"
chmod 777 "$work/readonly-project"
cp "$examples/en_us.i18n" "$work/readonly/sub/"
echo '{"previous": true}' >"$work/readonly-project/sub/en_us.i18n.json"
chmod 555 "$work/readonly-project/sub"
expect readonly-folder 1 "FAILED $work/readonly/sub/en_us.i18n: $work/readonly-project/sub/en_us.i18n.json: cannot be written: Permission denied" \
    "${as_user[@]}" "$kvres" import "$work/readonly" --project "$work/readonly-project" --force
expect readonly-kept 0 '{"previous": true}' cat "$work/readonly-project/sub/en_us.i18n.json"

# A second import into a project waits for the first.
mkdir "$work/busy"
flock "$work/busy/.kvlock" -c "touch '$work/held'; sleep 2" &
while [ ! -e "$work/held" ]; do sleep 0.05; done
expect busy-waits 0 "kvres import: waiting for another import into $work/busy to finish" \
    "$kvres" import "$examples/en_us.i18n" --project "$work/busy"
wait

# A project folder that cannot be made or locked fails the import at once with the system's reason.
mkdir -p "$work/unlockable/.kvlock"
printf 'x' >"$work/lockfile"
expect lock-not-a-folder 1 "kvres import: $work/lockfile/project: cannot be created: Not a directory" \
    "$kvres" import "$examples/en_us.i18n" --project "$work/lockfile/project"
expect lock-is-a-folder 1 "kvres import: $work/unlockable/.kvlock: cannot be opened: Is a directory" \
    "$kvres" import "$examples/en_us.i18n" --project "$work/unlockable"
expect lock-no-wait 0 "" bash -c "! '$kvres' import '$examples/en_us.i18n' --project '$work/unlockable' 2>&1 | grep waiting"

# Two sources that map to one resource: the second fails and names both.
mkdir -p "$work/twice/a" "$work/twice/b"
cp "$examples/en_us.i18n" "$work/twice/a/"
cp "$examples/fr_fr.i18n" "$work/twice/b/en_us.i18n"
expect same-name 1 "FAILED $work/twice/b/en_us.i18n: the resource 'en_us' (LocalizationStringTable) is already imported from $work/twice/a/en_us.i18n" \
    "$kvres" import "$work/twice/a" "$work/twice/b" --project "$work/twice-project"
expect same-name-first-kept 0 '"m_strLocalizedString": "Start"' cat "$work/twice-project/en_us.i18n.json"

# A folder import takes the files whose name ends in an extension an importer handles, in any
# case; a hidden file's name, a folder's and any other extension are skipped.
mkdir -p "$work/extensions/a" "$work/extensions/a.tnode"
for file in a/b.tnode a/level.one.B.TNODE a.tnode/readme a/notes.txt a/.tnode.bak a/.tnode; do
    echo "payload=1" >"$work/extensions/$file"
done
expect extensions-handled 0 "Imported 2 of 2 files into $work/extensions-project (4 project files written), 0 failed, 4 skipped (no importer)" \
    "$kvres" --plugin "$test_plugin" import "$work/extensions" --project "$work/extensions-project"

# A placeholder is saved with its target's GUID when the raw data file of the resource of its name
# holds the target; otherwise by name only, and a name that leaves the project is not followed.
guid=00000000-1111-2222-3333-444444444444
holding() {
    printf '{"$type": "KvTestNode", "m_aRecords": [{"$type": "KvTestTarget", "m_strName": "%s", "m_XRefGUID": "%s"}]}' \
        "$1" "$guid"
}
mkdir -p "$work/refs/project/heroes" "$work/refs/sources"
holding 'heroes\\hero' >"$work/refs/project/heroes/hero.tnode.json"
holding 'heroes\\villain' >"$work/refs/project/heroes/hero.tnode.payload.json"
holding '..\\outside' >"$work/refs/outside.tnode.json"
printf 'target=heroes\\hero\npayload=3\n' >"$work/refs/sources/hero.tnode"
printf 'target=heroes\\villain\n' >"$work/refs/sources/villain.tnode"
printf 'target=..\\outside\n' >"$work/refs/sources/outside.tnode"
expect refs-import 0 "Imported 3 of 3 files" \
    "$kvres" --plugin "$test_plugin" import "$work/refs/sources" --project "$work/refs/project"
expect refs-guid 0 "\"guid\": \"$guid\"" cat "$work/refs/project/hero.tnode.json"
expect refs-payload-written 0 '"m_slValue": 3' cat "$work/refs/project/hero.tnode.payload.json"
expect refs-name-only 0 "by name" bash -c "! grep -q guid '$work/refs/project/villain.tnode.json' \
    '$work/refs/project/outside.tnode.json' && grep -q villain '$work/refs/project/villain.tnode.json' && echo by name"

# A resource name never leaves the project folder, whatever the source names or the project
# folder links to.
# The file system reads "\" as "/": each odd name opens a real file that the walk imports too.
mkdir -p "$work/escape/linked" "$work/escape/a/b/c" "$work/escape/${work#/}/outside" "$work/escape-project" \
    "$work/outside"
absolute="${work//\//\\}\\outside\\ABS.i18n"
cp "$examples/en_us.i18n" "$work/escape/$absolute"
cp "$examples/en_us.i18n" "$work/escape/${work#/}/outside/ABS.i18n"
ln -s a/b/c "$work/escape/link"
cp "$examples/en_us.i18n" "$work/escape/link\\..\\..\\..\\payload.i18n"
cp "$examples/en_us.i18n" "$work/escape/payload.i18n"
cp "$examples/en_us.i18n" "$work/escape/linked/"
ln -s "$work/outside" "$work/escape-project/linked"
capture "$work/escape.out" "$kvres" import "$work/escape" --project "$work/escape-project"
expect escape-absolute 0 "FAILED $work/escape/$absolute: refused resource name '${absolute%.i18n}': it is absolute" \
    cat "$work/escape.out"
expect escape-parent 0 "FAILED $work/escape/link\\..\\..\\..\\payload.i18n: refused resource name 'link\\..\\..\\..\\payload': it climbs out with '..'" \
    cat "$work/escape.out"
expect escape-through-link 0 "FAILED $work/escape/linked/en_us.i18n: $work/escape-project/linked/en_us.i18n.json lies outside the project folder $work/escape-project" \
    cat "$work/escape.out"
expect escape-nothing-outside 0 "nothing outside" bash -c \
    "[ -z \"\$(ls -A '$work/outside')\" ] && [ ! -e '$work/payload.i18n.json' ] && echo nothing outside"

# `kvres show` names a file as an import from the current folder does.
expect show-shader-name 0 '"name": "shaders\\lit"' \
    bash -c "cd '$examples' && '$kvres' show shaders/lit.shaderbin/dx11/lit.vshaderbin"
expect show-texture-folder 0 '"name": "textures\\checker"' \
    bash -c "cd '$examples' && '$kvres' show textures/checker.dds"
expect import-file-name 0 '"m_strName": "LitAlphaTest"' bash -c "cd '$examples' && \
    '$kvres' import shaders/lit.shaderbin/dx11/lit.vshaderbin --project '$work/named' >/dev/null && \
    cat '$work/named/shaders/lit.shader.json'"

# The schemas of the types exported but not registered.
expect schema-physics 0 "  m_acData array u8 HideInPropertyGrid" "$kvres" schema KvProjectData_Core_Raw_PhysicsCollection
expect schema-video 0 '"type": "KvProjectData_Core_Raw_Video"' "$kvres" schema KvProjectData_Core_Raw_Video --json

finish
