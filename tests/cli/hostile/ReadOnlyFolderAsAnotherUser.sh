# A folder the user may not write to: the system's reason, and the report already there
# intact. Run as the unprivileged user "nobody" when started as root (CI runs as root, and
# root may write anywhere).
source "$(dirname "$0")/common.sh"
chmod 755 "$work"
cp "$cli" "$work/travik-cli"
cp "$inputs/five.txt" "$work/five.txt"
chmod 755 "$work/travik-cli"
chmod 644 "$work/five.txt"
mkdir "$work/readonly"
printf 'OLD REPORT\r\n' >"$work/readonly/five_TH.csv"
chmod 555 "$work/readonly"
as_user=()
if [ "$(id -u)" = 0 ]; then
    command -v setpriv >/dev/null || { echo "setpriv missing"; exit 77; }
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    # Every folder above must be open to "nobody".
    "${as_user[@]}" test -x "$work/travik-cli" || { echo "work folder not reachable by nobody"; exit 77; }
fi
run "${as_user[@]}" "$work/travik-cli" records --out "$work/readonly" "$work/five.txt"
expect_exit 1
expect_err "Cannot create file \"$work/readonly/five_TH\.csv\"\. Permission denied"
[ "$(cat "$work/readonly/five_TH.csv")" = "$(printf 'OLD REPORT\r')" ] || fail "the earlier report was changed"
chmod 755 "$work/readonly"
finish
