# With too little address space for the record (60 MB for 3 million samples, which need 72 MB
# as acceleration, velocity and displacement), the program says which action ran out of
# memory (exit 1) instead of printing a bare exception text or aborting.
source "$(dirname "$0")/common.sh"
write_record "$work/long.txt" 3000000       # about 24 MB of text
run bash -c 'ulimit -v 60000 && exec "$@"' limit "$cli" records --out "$work" "$work/long.txt"
expect_exit 1
expect_err "(FILE : long\.txt , ERROR: Not enough memory to read file \"[^\"]*/long\.txt\"|FILE: long\.txt, ERROR: Not enough memory to integrate the record|Not enough memory to write file \"[^\"]*long_TH\.csv\"|Not enough memory to write the time-history reports)"
# measures runs out in its own action, never in the spectra's.
run bash -c 'ulimit -v 60000 && exec "$@"' limit "$cli" measures --out "$work" "$work/long.txt"
expect_exit 1
expect_err "(FILE : long\.txt , ERROR: Not enough memory to read file \"[^\"]*/long\.txt\"|FILE: long\.txt, ERROR: Not enough memory to integrate the record|Not enough memory to write file \"[^\"]*long_GM\.csv\"|Not enough memory to compute the ground-motion measures)"
finish
