#!/usr/bin/env bash
# End-to-end test of opening a saved network, with real X key events (planner_road.sh): a
# network written here by hand, not by the program, is opened with "meshloom FILE.NET" and
# saved back unchanged through the dialogs, which start at its names (both files byte for
# byte); then opened with Ctrl+O, node 1 changed in place, node 3 deleted with its links, a
# link added and saved: the files equal those meshloom-export makes from the same network's
# rows. Then opened from one folder, changed and saved under a new name in another, taking the
# distance dialog's suggestion: the opened pair is left as it was. Last, bad files opened with
# Ctrl+O are each refused with a warning box, the menu as it was, within a second. Then a
# distance file that is a hard link to the demand data file, refused; and a pair whose demand
# data file has no extension, saved in place. Exits 0, 1 on a failure, 77 (skipped) without X or xdotool.
#   e2e_open_network.sh MESHLOOM MESHLOOM-EXPORT [WORK-DIR]
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source-path=SCRIPTDIR source=planner_road.sh
source "$HERE/planner_road.sh"
program="$1" export_command="$2"
[[ -z "$(road_missing_tools Xvfb xdotool)" ]] || { echo "SKIPPED: needs xvfb and xdotool"; exit 77; }
ROAD_WORK="${3:-$(mktemp -d "${TMPDIR:-/tmp}/meshloom-open.XXXXXX")}"
rm -rf "$ROAD_WORK" && mkdir -p "$ROAD_WORK/out"
ROAD_WORK="$(cd "$ROAD_WORK" && pwd)" out="$ROAD_WORK/out"
trap road_cleanup EXIT
road_start_display 1280x1024 || { echo "SKIPPED: no X server could be started"; exit 77; }

# Four nodes; links 1-2 of 5 and 2-3 of 4 both ways, 3->4 of 7 one way.
printf '%s\r\n' \
    '   1    0.0    0.0             12.500            0.000          300.000   < Depot >' \
    '   2    0.0    0.0              2.063        10000.000            0.000   < North <Yard> >' \
    '   3    0.0    0.0              1.000            2.000            3.000   < Pier >' \
    '   4    0.0    0.0              0.000            0.000            0.000   <  >' >"$out/net.NET"
printf '%s\r\n' 0 5 9 16 5 0 4 11 9 4 0 7 10000 10000 10000 0 >"$out/net.ned"
cp "$out/net.NET" "$ROAD_WORK/original.NET" && cp "$out/net.ned" "$ROAD_WORK/original.ned"

# A picture of the window in front, where MESHLOOM_E2E_SHOTS names a folder for them.
shot() {
    [[ -z "${MESHLOOM_E2E_SHOTS:-}" ]] || import -window "$WINDOW" "$MESHLOOM_E2E_SHOTS/$1.png"
}

same_files() {
    cmp "$1" "$2" || road_fail "$2 differs from $1: $(cat -A "$2" | head -n 20)"
    echo "$(basename "$2"): identical to $1 ($(wc -c <"$2") bytes)"
}

# The pair meshloom-export makes from the rows $1 and $2 (under the names $ROAD_WORK/$3.NET and
# .NED) equals the pair $4 and $5 that the program saved.
same_as_rows() {
    LC_ALL=C.UTF-8 "$export_command" "$1" "$2" "$ROAD_WORK/$3.NET" "$ROAD_WORK/$3.NED" \
        >/dev/null 2>&1 || road_fail "meshloom-export failed"
    same_files "$ROAD_WORK/$3.NET" "$4"
    same_files "$ROAD_WORK/$3.NED" "$5"
}

# Quit and Save: Yes to saving a network not connected (the last node reaches none), Return in
# both dialogs (at the opened names) and Yes to each replace question.
save_in_place() {
    road_focus "Link Specification"
    road_keys alt+q
    local box
    for box in Warning "Specify Name of Network Demand Data File" Confirm \
        "Specify Name of Distance File" Confirm; do
        road_answer_box "$box" Return
    done
    road_focus "MESHLOOM Main Menu"
}

# Ctrl+O on the main menu, the demand data file typed into the open dialog.
open_file() {
    road_focus "MESHLOOM Main Menu"
    road_keys ctrl+o
    road_focus "Specify Name of Network Demand Data File to Open"
    road_keys ctrl+a
    road_type "$1"
}
# From the node window to the link window.
nodes_then_links() {
    road_focus "Node Specification Menu"
    road_keys alt+q
    road_focus "MESHLOOM Main Menu"
    road_keys alt+l
    road_focus "Link Specification"
}

# 1. Opened by its name at start, saved unchanged. On the way node 2 is deleted, node 3 edited,
# both ended by Ctrl+Z in the list, a name typed and left, and Alt+R (Replace Node disabled)
# pressed in First Demand: it types nothing, and Quit stays enabled.
road_start_program "$program" "$out/net.NET"
road_wait_gone "MESHLOOM About Box" && road_focus "MESHLOOM Main Menu" && road_keys alt+n
road_focus "Node Specification Menu"
road_keys shift+Tab shift+Tab shift+Tab Home Down alt+d
road_answer_box Confirm Return
road_focus "Node Specification Menu"
road_keys Down alt+i shift+Tab shift+Tab shift+Tab shift+Tab ctrl+z alt+n
road_type Typed
road_keys Tab alt+r
nodes_then_links
save_in_place
same_files "$ROAD_WORK/original.NET" "$out/net.NET"
same_files "$ROAD_WORK/original.ned" "$out/net.ned"

# 2. Opened with Ctrl+O; node 1's first demand 7, node 3 (three links) deleted, a link 3 -> 1
# of 20 (the former node 4) added, saved in place.
open_file "$out/net.NET" && road_keys Return && road_focus "MESHLOOM Main Menu"
road_no_box "after opening" && road_keys alt+n && road_focus "Node Specification Menu"
# The list is three steps back from the name field, past Edit Node; Replace Node hands the
# focus back to the list.
road_keys alt+n shift+Tab shift+Tab shift+Tab Home alt+i Tab ctrl+a
road_type 7
road_keys Tab alt+r Home Down Down alt+d
road_answer_box Confirm Return
nodes_then_links
road_add_link 3 1 20 alt+u
save_in_place
# The same network from rows: what a planner typing it by hand would have saved.
printf 'Depot\t7\t0\t300\nNorth <Yard>\t2.063\t10000\t0\n\t0\t0\t0\n' >"$ROAD_WORK/nodes.tsv"
printf '1\t2\t5\n2\t1\t5\n3\t1\t20\n' >"$ROAD_WORK/links.tsv"
same_as_rows "$ROAD_WORK/nodes.tsv" "$ROAD_WORK/links.tsv" hand "$out/net.NET" "$out/net.ned"

# 3. Opened from orig/, a link added, saved under a new name in new/ with the distance dialog's
# suggestion taken by Return (and Yes to replacing a stale file there): the opened pair stays
# as it was, the new pair is the changed network. Then Return on the main menu, whose focus
# rests on Exit after a save, asks the exit question (answered No).
mkdir -p "$out/orig" "$out/new"
cp "$ROAD_WORK/original.NET" "$out/orig/towns.NET" && cp "$ROAD_WORK/original.ned" "$out/orig/towns.NED"
echo stale >"$out/new/plan2.NED"
open_file "$out/orig/towns.NET" && road_keys Return && road_focus "MESHLOOM Main Menu"
road_no_box "after opening towns.NET" && shot main-menu-opened
road_keys alt+n
nodes_then_links
# The link 4 -> 1 of 3, its ends typed into the node lists: a number, a name's start.
road_keys alt+o && road_type 4 && road_keys alt+d && road_type dep && road_keys alt+i
road_type 3 && road_keys Tab alt+u
road_keys alt+q
road_save_as "Specify Name of Network Demand Data File" "$out/new/plan2"
road_focus "Specify Name of Distance File" && road_keys Return
road_focus Confirm && shot replace-stale && road_keys Return && road_wait_gone Confirm
road_focus "MESHLOOM Main Menu" && road_no_box "after saving plan2" && shot main-menu-saved
same_files "$ROAD_WORK/original.NET" "$out/orig/towns.NET"
same_files "$ROAD_WORK/original.ned" "$out/orig/towns.NED"
printf '1\t2\t5\n2\t1\t5\n2\t3\t4\n3\t2\t4\n3\t4\t7\n4\t1\t3\n' >"$ROAD_WORK/links4.tsv"
printf 'Depot\t12.5\t0\t300\nNorth <Yard>\t2.063\t10000\t0\nPier\t1\t2\t3\n\t0\t0\t0\n' >"$ROAD_WORK/nodes4.tsv"
same_as_rows "$ROAD_WORK/nodes4.tsv" "$ROAD_WORK/links4.tsv" plan2 "$out/new/plan2.NET" \
    "$out/new/plan2.NED"
[[ "$(ls "$out/new")" == $'plan2.NED\nplan2.NET' ]] || road_fail "new/ holds $(ls "$out/new")"
road_keys Return && road_focus Confirm && shot exit-question && road_keys Escape && road_wait_gone Confirm

# 4. Bad files, each refused with a warning, the files as they were; a file read to its end (the
# pipe, /dev/zero, 1 GB) would keep the warning away past the road's timeout. The time each
# took is said, not judged: a loaded machine under the sanitizers takes seconds. (A folder the
# dialog itself does not take; tests/files/ has it.)
mkfifo "$out/pipe.NET" && ln -s /dev/zero "$out/zero.NET" && truncate -s 1G "$out/large.NET"
sed '2s/2.063/2.0630/' "$ROAD_WORK/original.NET" >"$out/bad-line.NET"
sed '1s/^0/3/' "$ROAD_WORK/original.ned" >"$out/bad-diagonal.ned"
cp "$ROAD_WORK/original.ned" "$out/bad-line.ned" && cp "$ROAD_WORK/original.NET" "$out/bad-diagonal.NET"
# Another network's distances, 3 x 3, beside the 4 nodes: told by their count.
cp "$ROAD_WORK/original.NET" "$out/mismatch.NET" && printf '%s\r\n' 0 5 9 5 0 4 9 4 0 >"$out/mismatch.ned"
for bad in pipe.NET zero.NET large.NET bad-line.NET bad-diagonal.NET mismatch.NET; do
    open_file "$out/$bad"
    started=$(date +%s%N) && road_keys Return && road_wait_window Warning
    elapsed=$((($(date +%s%N) - started) / 1000000))
    echo "$bad: refused with a warning box after $elapsed ms"
    shot "refused-${bad%.NET}"
    road_answer_box Warning Return
done
same_files "$ROAD_WORK/hand.NET" "$out/net.NET"

# 5. A distance file that is a hard link to the demand data file just saved (h2.NED, a second
# name of h.NET) is refused with a warning, not asked about as a replace; given up, the demand
# data file still holds the demand data, and No to leaving keeps the link window, whence the
# pair is then saved in place.
cp "$ROAD_WORK/original.NET" "$out/h.NET" && cp "$ROAD_WORK/original.ned" "$out/h.NED"
ln "$out/h.NET" "$out/h2.NED"
open_file "$out/h.NET" && road_keys Return && road_focus "MESHLOOM Main Menu"
road_no_box "after opening h.NET" && road_keys alt+n
nodes_then_links
road_keys alt+q
road_answer_box Warning Return
road_answer_box "Specify Name of Network Demand Data File" Return
road_answer_box Confirm Return
road_save_as "Specify Name of Distance File" "$out/h2.NED"
road_focus Warning && shot hard-link-refused && road_keys Return && road_wait_gone Warning
road_answer_box "Specify Name of Distance File" Escape
road_answer_box Warning Return
same_files "$ROAD_WORK/original.NET" "$out/h.NET"
same_files "$ROAD_WORK/original.NET" "$out/h2.NED"
save_in_place
same_files "$ROAD_WORK/original.ned" "$out/h.NED"

# 6. A pair whose demand data file has no extension (plan, plan.NED beside it), opened at start
# and changed: Return in both dialogs and Yes to both questions save the pair in place, no
# plan.NET beside it, and the pair agrees.
road_exit && road_wait_exit
cp "$ROAD_WORK/original.NET" "$out/plan" && cp "$ROAD_WORK/original.ned" "$out/plan.NED"
road_start_program "$program" "$out/plan"
road_wait_gone "MESHLOOM About Box" && road_focus "MESHLOOM Main Menu" && road_keys alt+n
nodes_then_links
road_add_link 1 3 2 alt+u
save_in_place
[[ ! -e "$out/plan.NET" ]] || road_fail "a new plan.NET was saved beside the opened pair"
printf '1\t2\t5\n2\t1\t5\n2\t3\t4\n3\t2\t4\n3\t4\t7\n1\t3\t2\n' >"$ROAD_WORK/links-plan.tsv"
same_as_rows "$ROAD_WORK/nodes4.tsv" "$ROAD_WORK/links-plan.tsv" plan "$out/plan" "$out/plan.NED"
echo "e2e_open_network: all passed"
