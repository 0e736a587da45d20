# Devices never end: reading /dev/zero whole would run until memory is exhausted.
source "$(dirname "$0")/common.sh"
for device in /dev/zero /dev/urandom; do
    run timeout 20 "$cli" spectra --out "$work" "$device"
    expect_exit 1
    expect_err "FILE : ${device#/dev/} , ERROR: Cannot open file \"$device\"\. It is not a regular file but a character device\."
done
finish
