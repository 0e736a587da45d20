# A report that does not fit on the disk fails with the system's reason, leaves no partial
# file, and leaves the earlier report of the same name and the reports already written
# intact. A small tmpfs is mounted where the machine allows it (root in CI); the file-size
# limit of the shell (ulimit -f) gives the same fault everywhere.
source "$(dirname "$0")/common.sh"
write_record "$work/big.txt" 40000          # a report of about 4 MB
cp "$inputs/five.txt" "$work/five.txt"

check_disk() {  # <folder> <expected reason>
    local folder=$1
    printf 'OLD REPORT\r\n' >"$folder/big_TH.csv"
    run "${limit[@]}" "$cli" records --out "$folder" "$work/five.txt" "$work/big.txt"
    expect_exit 1
    expect_err "Cannot write file \"$folder/big_TH\.csv\"\. $2"
    [ "$(cat "$folder/big_TH.csv")" = "$(printf 'OLD REPORT\r')" ] || fail "the earlier report was changed"
    [ -s "$folder/five_TH.csv" ] || fail "the report written before the fault is missing"
    ls -A "$folder" | grep -q '\.tmp$' && fail "a temporary file was left behind: $(ls -A "$folder")"
    return 0
}

mkdir "$work/limited"
limit=(bash -c 'ulimit -f 512 && exec "$@"' limit)   # 256 KiB per file
check_disk "$work/limited" "File too large"

mkdir "$work/tmpfs"
limit=()
if mount -t tmpfs -o size=512k tmpfs "$work/tmpfs" 2>/dev/null; then
    trap 'umount "$work/tmpfs"' EXIT
    check_disk "$work/tmpfs" "No space left on device"
else
    echo "no tmpfs here (mount not allowed): file-size limit only"
fi
finish
