# A named pipe would block the import until some writer appeared: refused before opening.
source "$(dirname "$0")/common.sh"
mkfifo "$work/pipe.txt"
run timeout 20 "$cli" records --out "$work" "$work/pipe.txt"
expect_exit 1
expect_err "FILE : pipe\.txt , ERROR: Cannot open file \"[^\"]*/pipe\.txt\"\. It is not a regular file but a named pipe \(FIFO\)\."
[ ! -e "$work/pipe_TH.csv" ] || fail "a report was written for the pipe"
finish
