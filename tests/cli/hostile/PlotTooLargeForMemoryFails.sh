# A figure whose pixels do not fit in the memory left (20000 x 20000 pixels need 1.6 GB)
# writes no file, not even an empty one, and fails with one line that says why.
source "$(dirname "$0")/common.sh"
write_record "$work/short.txt" 500
export QT_QPA_PLATFORM=offscreen
run bash -c 'ulimit -v 1200000 && exec "$@"' limit "$cli" plot spectra --dt 0.01 \
    --size 20000x20000 --out "$work" "$work/short.txt"
expect_exit 1
printf '%s' "$err" | grep -q 'Cannot create file "[^"]*short_RS\.png"\. The picture could not be drawn at 20000 x 20000 pixels: not enough memory\.' ||
    fail "stderr <$err> does not name the image and the memory"
printf '%s' "$err" | grep -q 'QPainter' && fail "painter warnings on stderr: $err"
[ ! -e "$work/short_RS.png" ] || fail "an image was written"
[ ! -s "$work/stdout" ] || fail "a path was printed: $(cat "$work/stdout")"
finish
