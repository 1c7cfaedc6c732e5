#!/usr/bin/env bash
# Starts a Pomelak executable on a private X server and waits at most 30 s for its main window to show.
#   scripts/shows-window.sh EXECUTABLE
set -euo pipefail
[ -n "${POMELAK_XVFB:-}" ] || POMELAK_XVFB=1 exec xvfb-run -a -s '-screen 0 1024x768x24 -nolisten tcp' "$0" "$@"
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$1" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Rivuマルチチェッカー$' | head -n 1) ||
    { echo "$1 showed no window \"Rivuマルチチェッカー\" within 30 s"; exit 1; }
echo "window \"$(xdotool getwindowname "$window")\" shown: $(xdotool getwindowgeometry "$window" | grep Geometry)"
