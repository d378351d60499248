# expect NAME STATUS TEXT COMMAND...: the command exits with STATUS and prints TEXT.
# Counts into $checks and $failures; finish prints the closing count and sets the status.
checks=0
failures=0

expect() {
    local name=$1 status=$2 text=$3
    shift 3
    local output
    output=$("$@" 2>&1)
    local actual=$?
    checks=$((checks + 1))
    if [ "$actual" -ne "$status" ] || ! grep -qF -- "$text" <<<"$output"; then
        echo "FAIL $name: status $actual, output:"
        echo "$output" | head -20
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

finish() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
