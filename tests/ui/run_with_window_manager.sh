#!/bin/sh
# Runs a window test program on the X display of xvfb-run with openbox managing the windows:
#   xvfb-run -a run_with_window_manager.sh PROGRAM [ARGS...]
openbox >/dev/null 2>&1 &
wm=$!
# The window manager announces itself on the root window once it manages windows.
i=0
while [ $i -lt 50 ] && ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  sleep 0.1
  i=$((i + 1))
done
QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $status
