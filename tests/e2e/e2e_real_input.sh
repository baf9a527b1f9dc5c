#!/usr/bin/env bash
# End-to-end test with real input: starts the built program on a private X server (Xvfb),
# walks the planner's road with xdotool key events only (planner_road.sh): the splash, the
# window class against the desktop entry, the about box, Return on a focused menu button,
# three nodes (one named in typographic characters), one-way and two-way links and a removal
# (a value and a distance edited with Delete), Quit and Save through the file dialogs and the
# replace question, and the confirmed exit. Then it checks that the
# program ended with status 0 and that both files equal the expected ones byte for byte.
#
#   e2e_real_input.sh MESHLOOM EXPECTED-DIR [WORK-DIR]
#
# Exits 0 when all holds, 1 on a failure, and 77 (skipped) when no X server can be started
# here or a tool it needs is missing. WORK-DIR (default: a new temporary folder, removed after
# a pass) receives the saved files, the program's output and, on a failure, a picture of the
# screen.
set -euo pipefail

SKIPPED=77
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source-path=SCRIPTDIR source=planner_road.sh
source "$HERE/planner_road.sh"

[[ $# -ge 2 ]] || { echo "usage: $0 MESHLOOM EXPECTED-DIR [WORK-DIR]" >&2; exit 2; }
program="$1"
expected="$2"
[[ -x "$program" ]] || { echo "FAILED: no program at $program" >&2; exit 1; }

missing=$(road_missing_tools Xvfb xdotool xprop)
if [[ -n "$missing" ]]; then
    echo "SKIPPED: the end-to-end test needs ${missing//$'\n'/ } (Debian: xvfb, xdotool, x11-utils)"
    exit "$SKIPPED"
fi

if [[ $# -ge 3 ]]; then
    ROAD_WORK="$3"
    rm -rf "$ROAD_WORK"
    mkdir -p "$ROAD_WORK"
else
    ROAD_WORK=$(mktemp -d "${TMPDIR:-/tmp}/meshloom-e2e.XXXXXX")
    remove_work=1
fi
ROAD_WORK="$(cd "$ROAD_WORK" && pwd)"
trap road_cleanup EXIT

# --help and --version answer on standard output without a display (the X platform asked for).
for option in --help:FILE.NET --version:MESHLOOM; do
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "${option%:*}" \
        >"$ROAD_WORK/answer" 2>&1 || road_fail "meshloom ${option%:*}: $(cat "$ROAD_WORK/answer")"
    grep -q "${option#*:}" "$ROAD_WORK/answer" || road_fail "meshloom ${option%:*} lacks ${option#*:}"
done
# Wrong usage is said on standard error with status 64, no window opened.
for usage in --import --bogus; do
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$usage" >"$ROAD_WORK/answer" \
        2>&1 || status=$?
    [[ $status == 64 ]] && grep -q "Try 'meshloom --help'" "$ROAD_WORK/answer" ||
        road_fail "meshloom $usage: status $status: $(cat "$ROAD_WORK/answer")"
done

if ! road_start_display 1280x1024; then
    echo "SKIPPED: no X server could be started (Xvfb said:" \
        "$(tr '\n' ' ' <"$ROAD_WORK/xvfb.log"))"
    exit "$SKIPPED"
fi
echo "X display $DISPLAY, work folder $ROAD_WORK"

out="$ROAD_WORK/out"
mkdir -p "$out"
# A longer file than the one saved over it: the writer must empty it first.
head -c 4000 /dev/zero | tr '\0' 'x' >"$out/network.NET"

road_start_program "$program"
road_walk "$out"
road_wait_exit
[[ "$PROGRAM_STATUS" -eq 0 ]] || road_fail "the program ended with status $PROGRAM_STATUS"
echo "The program ended with status 0."

failed=0
for file in network.NET network.NED; do
    if [[ ! -f "$out/$file" ]]; then
        echo "FAILED: $file was not saved" >&2
        failed=1
    elif cmp -s "$expected/$file" "$out/$file"; then
        echo "$file: identical to $expected/$file ($(wc -c <"$out/$file") bytes)"
    else
        echo "FAILED: $out/$file differs from $expected/$file:" >&2
        echo "  first differing bytes (offset, expected octal, saved octal):" >&2
        { cmp -l "$expected/$file" "$out/$file" 2>&1 || true; } | head -n 10 | sed 's/^/  /' >&2
        echo "  lines that differ (cat -A: ^M is the carriage return, $ the line feed):" >&2
        { diff <(cat -A "$expected/$file") <(cat -A "$out/$file") || true; } | head -n 20 |
            sed 's/^/  /' >&2
        failed=1
    fi
done
((failed == 0)) || exit 1
echo "PASSED"
# A temporary work folder is kept only when something failed.
[[ -z "${remove_work:-}" ]] || rm -rf "$ROAD_WORK"
