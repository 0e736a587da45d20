# Shared by the hostile-surroundings cases: each script is called as
#   <case>.sh <travik-cli> <work folder> <records input folder>
# and exits 0 (passed), 1 (failed) or 77 (skipped: the machine cannot set the case up).
set -u
cli=$1
work=$2
inputs=$3
rm -rf "$work"
mkdir -p "$work"
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# run <command...>: runs it, keeping its exit code in $status and its stderr in $err.
run() {
    set +e
    err=$("$@" 2>&1 >"$work/stdout")
    status=$?
    set -e
}

expect_exit() {
    [ "$status" = "$1" ] || fail "exit $status, expected $1 (stderr: $err)"
}

# expect_err <extended regular expression>: the whole standard error must match.
expect_err() {
    printf '%s' "$err" | grep -Eqz "^$1\$" || fail "stderr <$err> does not match <$1>"
}

# Writes a free-format record of n samples.
write_record() {
    awk -v n="$2" 'BEGIN { for (i = 0; i < n; i++) printf "%.4f\n", sin(i / 50) / 3 }' >"$1"
}

finish() {
    [ "$failures" = 0 ] && echo "passed" && exit 0
    exit 1
}
set -e
