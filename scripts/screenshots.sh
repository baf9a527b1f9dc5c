#!/usr/bin/env bash
# Takes the pictures in docs/screenshots/: starts the built program on a private X server,
# walks the same road as the end-to-end test (tests/e2e/planner_road.sh) with real key
# events, and saves a PNG of the main menu, the about box, the node window, the link window
# and the question before a file is replaced, and of the main menu once the saved pair is
# opened again; then the network's picture, from its own
# end-to-end test (tests/e2e/e2e_picture.sh). Needs xvfb, xdotool, xclip and ImageMagick.
#
#   scripts/screenshots.sh          the program is $MESHLOOM, by default build/src/meshloom
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PROGRAM="${MESHLOOM:-$ROOT/build/src/meshloom}"
OUT="$ROOT/docs/screenshots"
# shellcheck source-path=SCRIPTDIR source=../tests/e2e/planner_road.sh
source "$ROOT/tests/e2e/planner_road.sh"

[[ -x "$PROGRAM" ]] || { echo "No program at $PROGRAM: build it first (scripts/run.sh)" >&2; exit 1; }
missing=$(road_missing_tools Xvfb xdotool import)
[[ -z "$missing" ]] || { echo "Missing: ${missing//$'\n'/ } (Debian: xvfb xdotool imagemagick)" >&2; exit 1; }

# A folder of a fixed name: its path shows in the replace question, and the pictures should
# not change from one run to the next.
ROAD_WORK="${TMPDIR:-/tmp}/meshloom-screenshots-$(id -u)"
rm -rf "$ROAD_WORK"
mkdir -p "$ROAD_WORK"
finish() {
    road_cleanup
    rm -rf "$ROAD_WORK"
}
trap finish EXIT

# The picture of window $2 as $OUT/$1.png, taken once the window has stopped changing (the
# keys sent before may still be on their way).
snapshot() {
    local name="$1" id="$2" previous="" current deadline=$((SECONDS + ROAD_TIMEOUT))
    while ((SECONDS < deadline)); do
        current=$(import -window "$id" -depth 8 rgb:- | md5sum)
        [[ "$current" == "$previous" ]] && break
        previous="$current"
        sleep 0.2
    done
    import -window "$id" -strip -define png:exclude-chunks=date,time "$OUT/$name.png"
    echo "Saved $OUT/$name.png"
}

road_start_display 1280x1024 || { echo "Xvfb did not start: $(cat "$ROAD_WORK/xvfb.log")" >&2; exit 1; }
mkdir -p "$OUT" "$ROAD_WORK/Networks"
# An existing file, so that the replace question comes.
printf 'old\r\n' >"$ROAD_WORK/Networks/network.NET"
road_start_program "$PROGRAM"
road_walk "$ROAD_WORK/Networks"
road_wait_exit
# The main menu naming the network it has just opened: the pair the road saved.
road_start_program "$PROGRAM" "$ROAD_WORK/Networks/network.NET"
road_wait_gone "MESHLOOM About Box"
road_focus "MESHLOOM Main Menu"
snapshot main-menu-opened "$WINDOW"
road_exit
road_wait_exit
# The network's picture, taken by its end-to-end test on a display of its own.
bash "$ROOT/tests/e2e/e2e_picture.sh" "$PROGRAM" "$ROAD_WORK/picture" "$OUT/network-picture.png"
echo "Saved $OUT/network-picture.png"
# The import box and the main menu after an import, taken by the import's end-to-end test.
mkdir -p "$ROAD_WORK/shots"
MESHLOOM_E2E_SHOTS="$ROAD_WORK/shots" bash "$ROOT/tests/e2e/e2e_import.sh" "$PROGRAM" \
    "${MESHLOOM_EXPORT:-$(dirname "$PROGRAM")/cli/meshloom-export}" "$ROAD_WORK/import"
cp "$ROAD_WORK/shots/import-box.png" "$ROAD_WORK/shots/main-menu-imported.png" "$OUT/"
echo "Saved $OUT/import-box.png and $OUT/main-menu-imported.png"
