# Ctrl-C (SIGINT), SIGTERM and SIGHUP during a long write leave no hidden temporary report
# behind; the program still ends by the signal.
source "$(dirname "$0")/common.sh"
write_record "$work/long.txt" 2000000
for signal in INT TERM HUP; do
    rm -f "$work"/.long* "$work"/long_TH.csv
    # A shell starts background commands with SIGINT ignored; a terminal's Ctrl-C is not,
    # so the default is restored for the program.
    python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.execv(sys.argv[1], sys.argv[1:])' "$cli" records --out "$work" "$work/long.txt" >/dev/null 2>&1 &
    pid=$!
    # Wait until the temporary file exists, then end the program.
    for _ in $(seq 1 400); do
        ls "$work"/.long_TH.csv.*.tmp >/dev/null 2>&1 && break
        sleep 0.02
    done
    if ! ls "$work"/.long_TH.csv.*.tmp >/dev/null 2>&1; then
        wait "$pid" || true
        exit 77  # the report was written before it could be interrupted
    fi
    kill -s "$signal" "$pid"
    set +e
    wait "$pid"
    status=$?
    set -e
    [ "$status" -gt 128 ] || fail "SIG$signal: exit $status, expected death by the signal"
    leftovers=$(ls -A "$work" | grep -c '\.tmp$' || true)
    [ "$leftovers" = 0 ] || fail "SIG$signal left $(ls -A "$work")"
done
finish
