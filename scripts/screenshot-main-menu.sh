#!/usr/bin/env bash
# Starts the built program on a virtual X display, waits until the splash has gone and saves
# a picture of the main menu as docs/screenshots/main-menu.png. Needs xvfb, xdotool and
# ImageMagick (import). The program is taken from $MESHLOOM (default: build/src/meshloom).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PROGRAM="${MESHLOOM:-$ROOT/build/src/meshloom}"
OUT="$ROOT/docs/screenshots/main-menu.png"
DISPLAY_NUMBER="${SCREENSHOT_DISPLAY:-:91}"

[[ -x "$PROGRAM" ]] || { echo "No program at $PROGRAM: build it first (scripts/run.sh)" >&2; exit 1; }

Xvfb "$DISPLAY_NUMBER" -screen 0 640x520x24 -nolisten tcp &
xvfb=$!
program=""
cleanup() {
    [[ -n "$program" ]] && kill "$program" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$DISPLAY_NUMBER"
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

QT_QPA_PLATFORM=xcb "$PROGRAM" &
program=$!
timeout 20 xdotool search --sync --name '^MESHLOOM Main Menu$' >/dev/null
# The splash leaves at its first tick, 1.5 s after start.
for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^MESHLOOM About Box$' >/dev/null 2>&1 || break
    sleep 0.1
done
sleep 0.5
mkdir -p "$(dirname "$OUT")"
window=$(xdotool search --onlyvisible --name '^MESHLOOM Main Menu$' | head -n 1)
import -window "$window" "$OUT"
echo "Saved $OUT"
