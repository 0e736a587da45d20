# A file that shrinks between the first pass and its analysis keeps its name but not its
# samples: it is reported as changed, not analysed as its new content without a word.
source "$(dirname "$0")/common.sh"
write_record "$work/a.txt" 300000
# Three long records between a.txt and b.txt leave time to change b.txt after a.txt's
# analysis has begun, however many cores make the spectra quick.
for middle in m1 m2 m3; do write_record "$work/$middle.txt" 300000; done
write_record "$work/b.txt" 300000   # beyond what the first pass keeps in memory
"$cli" spectra --jobs 1 --quiet --out "$work" "$work/a.txt" "$work/m1.txt" "$work/m2.txt" \
    "$work/m3.txt" "$work/b.txt" \
    >"$work/stdout" 2>"$work/stderr" &
pid=$!
# Once the report pass has begun with a.txt, b.txt loses half of its samples.
for _ in $(seq 1 1000); do
    ls -A "$work" | grep -q '^\.a_RS\.csv\..*\.tmp$' && break
    sleep 0.01
done
if ! ls -A "$work" | grep -q '^\.a_RS\.csv\..*\.tmp$'; then
    wait "$pid" || true
    exit 77  # the analysis of a.txt ended before b.txt could be changed
fi
head -n 150000 "$work/b.txt" >"$work/b.half" && mv "$work/b.half" "$work/b.txt"
set +e
wait "$pid"
status=$?
set -e
err=$(cat "$work/stderr")
expect_exit 1
printf '%s' "$err" | grep -q 'b\.txt, ERROR: The file changed while its reports were being written' ||
    fail "stderr <$err> does not say that b.txt changed"
[ -e "$work/a_RS.csv" ] || fail "the report of a.txt is missing"
[ ! -e "$work/b_RS.csv" ] || fail "b.txt was analysed as its new content"
finish
