#!/usr/bin/env bash
# End-to-end test of the network's picture on a private X server, with real keys, the real
# clipboard and a real click: nine towns on a grid joined by two-way roads and an outpost with
# one road out are pasted in, the picture is opened from the link window with Ctrl+G, a link
# added by keys shows in the picture saved from it, and the outpost clicked on the picture
# becomes the link window's origin (ringed in the picture saved next).
#
# Then, under a real window manager (openbox), the picture opens beside the link window and
# wholly on the screen with the link window at the upper left, the upper right and the lower
# right, their frames read from the window manager.
#
#   e2e_picture.sh MESHLOOM [WORK-DIR] [SCREENSHOT.png] [PLACEMENT.png]
#                                                  exits 0, 1 (failed) or 77 (skipped)
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source-path=SCRIPTDIR source=planner_road.sh
source "$HERE/planner_road.sh"
program="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
missing=$(road_missing_tools Xvfb xdotool xclip import openbox xprop xwininfo)
[[ -z "$missing" ]] || { echo "SKIPPED: needs ${missing//$'\n'/ } (xvfb, xdotool, xclip, imagemagick, openbox, x11-utils)"; exit 77; }
ROAD_WORK="${2:-$(mktemp -d "${TMPDIR:-/tmp}/meshloom-picture.XXXXXX")}"
screenshot="${3:-}"
placement_shot="${4:-}"
rm -rf "$ROAD_WORK" && mkdir -p "$ROAD_WORK" && cd "$ROAD_WORK" && ROAD_WORK="$PWD"
trap road_cleanup EXIT
road_start_display 1280x1024 || { echo "SKIPPED: no X server could be started"; exit 77; }
# The window manager runs from the start, as on a desktop. On a display that has just
# answered, it was seen, now and then, to find no display and end at once: it is started again.
WM_PID=""
trap 'kill "$WM_PID" 2>/dev/null || true; road_cleanup' EXIT
deadline=$((SECONDS + ROAD_TIMEOUT))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    ((SECONDS < deadline)) || road_fail "openbox did not start: $(cat "$ROAD_WORK/openbox.log")"
    if [[ -z "$WM_PID" ]] || ! kill -0 "$WM_PID" 2>/dev/null; then
        openbox >>"$ROAD_WORK/openbox.log" 2>&1 &
        WM_PID=$!
    fi
    sleep 0.1
done

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
# own dot of that colour is in the bottom rows, above the description): click its middle.
xdotool windowraise "$picture"
road_focus "Network Picture"
height=$(xdotool getwindowgeometry "$picture" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
read -r x y < <(import -window "$picture" -depth 8 txt:- |
    awk -F'[,: ]+' -v bottom=$((height - 110)) '/#C0392B/ && $2 < bottom { x += $1; y += $2; n++ }
        END { if (n) printf "%d %d\n", x / n, y / n }') ||
    road_fail "no dot of the outpost's colour on the picture"
xdotool mousemove --window "$picture" "$x" "$y" click 1
xdotool mousemove 1279 1023
save_picture second.svg
grep -q 'data-node="10"><title>10 Outpost</title><circle[^>]*stroke="#27ae60"' second.svg ||
    road_fail "the outpost clicked on the picture is not the origin"
[[ -z "$screenshot" ]] || import -window "$picture" -strip -define png:exclude-chunks=date,time "$screenshot"

# A window's frame on the screen, "left top right bottom" (right and bottom past the edge),
# from where the X server has the window (xwininfo's absolute corner: xdotool's counts the
# frame's offset twice under a window manager that frames windows) and the frame's extents the
# window manager gives it.
frame_of() {
    local x y w h extents info
    info=$(xwininfo -id "$1")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
    [[ -n "$extents" ]] || road_fail "the window manager gives no frame for window $1"
    IFS=, read -r left right top bottom <<<"$extents"
    echo "$((x - left)) $((y - top)) $((x + w + right)) $((y + h + bottom))"
}
# Moves window $1's frame to the screen's point $2,$3: the window inside it goes the frame's
# extents further.
move_frame() {
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
    IFS=, read -r left right top bottom <<<"$extents"
    xdotool windowmove "$1" $(($2 + left)) $(($3 + top))
}
# The link window, by its caption.
road_wait_window "Link Specification"
links=$WINDOW
IFS=x read -r screen_w screen_h <<<"$ROAD_SIZE"
for corner in upper-left upper-right lower-right; do
    road_focus "Network Picture"
    road_keys alt+F4
    road_wait_gone "Network Picture"
    read -r _ _ right bottom < <(frame_of "$links")
    read -r left top _ _ < <(frame_of "$links")
    width=$((right - left)) height=$((bottom - top))
    case $corner in
    upper-left) target="0 0" ;;
    upper-right) target="$((screen_w - width)) 0" ;;
    lower-right) target="$((screen_w - width)) $((screen_h - height))" ;;
    esac
    # shellcheck disable=SC2086 # the target is two numbers
    move_frame "$links" $target
    # The window manager moves the frame in its own time: the picture is asked for once it has.
    deadline=$((SECONDS + ROAD_TIMEOUT))
    until read -r l1 t1 _ _ < <(frame_of "$links") && [[ "$l1 $t1" == "$target" ]]; do
        ((SECONDS < deadline)) || road_fail "the link window's frame stays at $l1,$t1, not $target"
        sleep 0.1
    done
    road_focus "Link Specification"
    road_keys ctrl+g
    road_wait_window "Network Picture"
    # The picture settles where it belongs once the window manager has framed it; until the
    # road's timeout it may still be on its way there.
    deadline=$((SECONDS + ROAD_TIMEOUT))
    while :; do
        read -r l1 t1 r1 b1 < <(frame_of "$links")
        read -r l2 t2 r2 b2 < <(frame_of "$WINDOW")
        beside=0 whole=0
        ((r2 <= l1 || r1 <= l2 || b2 <= t1 || b1 <= t2)) && beside=1
        ((l2 >= 0 && t2 >= 0 && r2 <= screen_w && b2 <= screen_h)) && whole=1
        ((beside && whole)) || ((SECONDS >= deadline)) && break
        sleep 0.2
    done
    echo "link window at the $corner: frame $l1,$t1-$r1,$b1; picture $l2,$t2-$r2,$b2"
    ((beside)) || road_fail "with the link window at the $corner the picture covers it"
    ((whole)) ||
        road_fail "with the link window at the $corner the picture is not wholly on the screen"
done
[[ -z "$placement_shot" ]] || import -window root -strip -define png:exclude-chunks=date,time "$placement_shot"
echo "PASSED: the picture follows a link added by keys, a node clicked on it is the origin, and it opens beside the link window under openbox"
