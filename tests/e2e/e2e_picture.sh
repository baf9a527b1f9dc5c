#!/usr/bin/env bash
# End-to-end test of the network's picture on a private X server, with real keys, the real
# clipboard and a real click: nine towns on a grid joined by two-way roads and an outpost with
# one road out are pasted in, the picture is opened from the link window with Ctrl+G, a link
# added by keys shows in the picture saved from it, and the outpost clicked on the picture
# becomes the link window's origin (ringed in the picture saved next).
#
#   e2e_picture.sh MESHLOOM [WORK-DIR] [SCREENSHOT.png]    exits 0, 1 (failed) or 77 (skipped)
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source-path=SCRIPTDIR source=planner_road.sh
source "$HERE/planner_road.sh"
program="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
missing=$(road_missing_tools Xvfb xdotool xclip import)
[[ -z "$missing" ]] || { echo "SKIPPED: needs ${missing//$'\n'/ } (xvfb, xdotool, xclip, imagemagick)"; exit 77; }
ROAD_WORK="${2:-$(mktemp -d "${TMPDIR:-/tmp}/meshloom-picture.XXXXXX")}"
screenshot="${3:-}"
rm -rf "$ROAD_WORK" && mkdir -p "$ROAD_WORK" && cd "$ROAD_WORK" && ROAD_WORK="$PWD"
trap road_cleanup EXIT
road_start_display 1280x1024 || { echo "SKIPPED: no X server could be started"; exit 77; }

# Towns 1..9 on a 3 x 3 grid 1000 apart, roads both ways between neighbours; node 10, the
# outpost, has a road out to town 9 and none in, so no other node reaches it.
awk -v t='\t' 'BEGIN {
    split("Northby Middleham Eastwick Westgate Centrum Riverside Southport Lowfield Harbour", name, " ")
    print "Name" t "First demand" t "Second demand" t "Fixed cost" > "nodes.tsv"
    for (k = 1; k <= 9; k++) print name[k] t 1 t 1 t 1 > "nodes.tsv"
    print "Outpost" t 1 t 1 t 1 > "nodes.tsv"
    print "From" t "To" t "km" > "links.tsv"
    for (k = 1; k <= 9; k++) {
        if (k % 3 != 0) { print k t k + 1 t 1000 > "links.tsv"; print k + 1 t k t 1000 > "links.tsv" }
        if (k <= 6) { print k t k + 3 t 1000 > "links.tsv"; print k + 3 t k t 1000 > "links.tsv" }
    }
    print 10 t 9 t 700 > "links.tsv"
}' </dev/null
clipboard_put() { xclip -selection clipboard -i "$1" >/dev/null 2>&1; }

road_start_program "$program"
road_wait_window "MESHLOOM Main Menu"
road_wait_gone "MESHLOOM About Box"
road_focus "MESHLOOM Main Menu"
road_keys alt+n
road_focus "Node Specification Menu"
road_keys shift+Tab shift+Tab
clipboard_put nodes.tsv
road_keys ctrl+v
road_no_box "after pasting the nodes"
road_keys alt+q
road_focus "MESHLOOM Main Menu"
road_keys Return
road_focus "Link Specification"
clipboard_put links.tsv
road_keys alt+o ctrl+v
road_no_box "after pasting the links"

# The picture beside the link window; a one-way link from Northby to Centrum added by keys.
road_keys ctrl+g
road_wait_window "Network Picture"
picture="$WINDOW"
road_focus "Link Specification"
road_add_link 1 5 1414 alt+u
road_no_box "after adding a link"

# Saves the picture as $1 from the picture window's Save Picture button.
save_picture() {
    road_focus "Network Picture"
    road_keys alt+s
    road_save_as "Save Picture" "$ROAD_WORK/$1"
    road_wait_gone "Save Picture"
    # The file is written after the dialog has gone, and put in place whole.
    local deadline=$((SECONDS + ROAD_TIMEOUT))
    until [[ -s "$1" ]]; do
        ((SECONDS < deadline)) || road_fail "no picture saved as $1"
        sleep 0.05
    done
}
save_picture first.svg
grep -q 'class="link one-way" data-from="1" data-to="5" data-distance="1414"' first.svg ||
    road_fail "the link added by keys is not in the picture"
[[ $(grep -c 'data-node=' first.svg) -eq 10 && $(grep -c 'class="link two-way"' first.svg) -eq 12 ]] ||
    road_fail "the picture does not hold the ten nodes and twelve two-way roads"
if [[ $(grep -o 'class="node[a-z ]*" data-node="[0-9]*"' first.svg | grep -c unreached) -ne 1 ]] ||
    ! grep -q 'class="node unreached" data-node="10"' first.svg; then
    road_fail "the outpost, and it alone, is not marked as reached by no other node"
fi

# The outpost is the one dot in the colour of a node no other reaches, above the legend (whose
# own dot of that colour is in the bottom rows): click its middle.
xdotool windowraise "$picture"
road_focus "Network Picture"
height=$(xdotool getwindowgeometry "$picture" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
read -r x y < <(import -window "$picture" -depth 8 txt:- |
    awk -F'[,: ]+' -v bottom=$((height - 60)) '/#C0392B/ && $2 < bottom { x += $1; y += $2; n++ }
        END { if (n) printf "%d %d\n", x / n, y / n }') ||
    road_fail "no dot of the outpost's colour on the picture"
xdotool mousemove --window "$picture" "$x" "$y" click 1
xdotool mousemove 1279 1023
save_picture second.svg
grep -q 'data-node="10"><title>10 Outpost</title><circle[^>]*stroke="#27ae60"' second.svg ||
    road_fail "the outpost clicked on the picture is not the origin"
[[ -z "$screenshot" ]] || import -window "$picture" -strip -define png:exclude-chunks=date,time "$screenshot"
echo "PASSED: the picture follows a link added by keys, and a node clicked on it is the origin"
