#!/usr/bin/env bash
# End-to-end test of the clipboard: on a private X server with the real clipboard (xclip) and
# real keys (xdotool), in a region whose decimal symbol is the comma, a planner pastes 150
# nodes written as a spreadsheet writes them (quoted cells, an empty row as tabs and fixed costs
# with the grouping symbol included) and the 300 links of a two-way ring by the nodes' names,
# with the focus on the origin list; a wrong row before each paste must leave the network as it
# was. Each paste is undone and redone with the keys, and a deleted node is undone. Both
# lists are copied out and compared, and the two saved files must be byte for byte those of
# the same network, computed here on their own; the typed forms of the copies hold names as
# text and values as numbers. A second run pastes what the first copied out and must save the
# same two files.
#
#   e2e_clipboard.sh MESHLOOM [WORK-DIR]      exits 0, 1 (failed) or 77 (skipped)
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source-path=SCRIPTDIR source=planner_road.sh
source "$HERE/planner_road.sh"
program="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
missing=$(road_missing_tools Xvfb xdotool xclip)
[[ -z "$missing" ]] || { echo "SKIPPED: needs ${missing//$'\n'/ } (xvfb, xdotool, xclip)"; exit 77; }
ROAD_WORK="${2:-$(mktemp -d "${TMPDIR:-/tmp}/meshloom-clipboard.XXXXXX")}"
rm -rf "$ROAD_WORK" && mkdir -p "$ROAD_WORK/out" && cd "$ROAD_WORK" && ROAD_WORK="$PWD"
trap road_cleanup EXIT
road_start_display 1280x1024 || { echo "SKIPPED: no X server could be started"; exit 77; }

# The network: node k with demands 1.25k and (k mod 13) / 2, fixed cost 10000 - 3.75k, named
# "Node k" but for three names a spreadsheet quotes or that need the name bytes (one with its
# umlaut as a combining mark, held as the one byte of the composed letter); links of 100
# both ways around a ring. Written as the clipboard's rows (*.tsv), as copying must give them
# back (*.copy), and as the two files.
awk -v t='\t' 'function v(x) { x = sprintf("%.2f", x); sub(/\.?0+$/, "", x); sub(/\./, ",", x); return x }
function grouped(x) { x = v(x); match(x, /^[0-9]+/); return RLENGTH > 3 ? substr(x, 1, RLENGTH - 3) "." substr(x, RLENGTH - 2) : x }
function shown(k) { return k == 5 ? "Tab Yard" : k == 7 ? "\"Say \"\"7\"\"\"" : k == 9 ? "Süd 9" : "Node " k }
function typed(k) { return k == 5 ? "\"Tab\tYard\"" : k == 9 ? "Su\314\210d 9" : shown(k) }
function held(k) { return k == 9 ? "S\374d 9" : k == 7 ? "Say \"7\"" : shown(k) }
function link(a, b) { print typed(a) t typed(b) t 100 > "links.tsv"; print a t shown(a) t b t shown(b) t 100 > "links.copy" }
BEGIN {
    print "Place" t "Demand" t "Other demand" t "Cost" > "nodes.tsv"
    print "Name" t "First demand" t "Second demand" t "Fixed cost" > "nodes.copy"
    print "From" t "To" t "km" > "links.tsv"
    print "Origin" t "Origin name" t "Destination" t "Destination name" t "Distance" > "links.copy"
    for (k = 1; k <= 150; k++) {
        values = v(1.25 * k) t v((k % 13) / 2)
        print typed(k) t values t grouped(10000 - 3.75 * k) > "nodes.tsv"
        print shown(k) t values t v(10000 - 3.75 * k) > "nodes.copy"
        if (k == 75) print t t t > "nodes.tsv"
        printf "%4d    0.0    0.0    %15.3f  %15.3f  %15.3f   < %s >\r\n", k, 1.25 * k,
            (k % 13) / 2, 10000 - 3.75 * k, held(k) > "expected.NET"
        for (j = 1; j <= 150; j++) {
            d = k > j ? k - j : j - k
            printf "%d\r\n", 100 * (d < 150 - d ? d : 150 - d) > "expected.NED"
        }
    }
    # In the order of the link list: by pair (1-2, 1-150, 2-3, ...), the lower origin first.
    link(1, 2); link(2, 1); link(1, 150); link(150, 1)
    for (k = 2; k < 150; k++) { link(k, k + 1); link(k + 1, k) }
}' </dev/null
# What Copy gives of an empty list.
head -n 1 nodes.copy >nodes.head && head -n 1 links.copy >links.head

# Puts the file $1 on the clipboard; xclip stays behind as its owner, its output closed.
clipboard_put() { xclip -selection clipboard -i "$1" >/dev/null 2>&1; }
# Fails unless the clipboard holds exactly the file $1; keeps what it holds as $2.
clipboard_is() {
    xclip -selection clipboard -o >"$2" 2>/dev/null </dev/null
    cmp -s "$1" "$2" || road_fail "the copied $1 differs: $(diff "$1" "$2" | head -n 4)"
}
# Fails unless the clipboard's form $1 holds the line $2.
clipboard_form_has() {
    local form
    form=$(xclip -selection clipboard -o -t "$1" 2>/dev/null </dev/null) || true
    LC_ALL=C grep -qxF "$2" <<<"$form" || road_fail "the copied $1 lacks the line $2"
}
sylk='application/x-openoffice-sylk;windows_formatname="Sylk"'
# Pastes the file $1 with a wrong row after its first rows: one warning, nothing added.
paste_wrong() {
    { head -n 4 "$1"; printf '%s\n' "$2"; } >wrong.tsv
    clipboard_put wrong.tsv
    road_keys ctrl+v
    road_answer_box "Warning" Return
}

# Fails unless the clipboard holds the text $1 (no line feed added).
clipboard_text_is() {
    local held
    held=$(xclip -selection clipboard -o 2>/dev/null </dev/null) || true
    [[ "$held" == "$1" ]] || road_fail "the clipboard holds \"$held\", not \"$1\""
}

# Typed into the node list (the table full), a node's number (digits in quick succession, or
# after a pause a new number) or its name's start selects it; Edit Node brings it into the
# fields, its name selected, Ctrl+C copies that, and the list is four steps back.
typed_finds_nodes() {
    local typed name
    for typed in 76:"Node 76" say:'Say "7"' "1 2":"Node 2"; do
        name="${typed#*:}" typed="${typed%%:*}"
        road_type "${typed%% *}"
        [[ "$typed" != *" "* ]] || { sleep 1 && road_type "${typed##* }"; }
        road_keys alt+i ctrl+c
        clipboard_text_is "$name"
        road_keys shift+Tab shift+Tab shift+Tab shift+Tab
    done
}

# The last node deleted, LAST with first demand 7 added (the table full again, the focus on
# Quit, two steps before the list), undone: the fields come back empty (Ctrl+C in them leaves
# the clipboard as it was) and Add Node adds that, an empty node. Both undone, as pasted.
undo_of_the_add_that_filled() {
    road_keys End alt+d alt+n && road_type LAST && road_keys Tab && road_type 7
    road_keys Tab alt+a ctrl+z
    printf 'untouched' >untouched.txt && clipboard_put untouched.txt
    road_focus "Node Specification Menu"
    road_keys alt+n ctrl+a ctrl+c alt+f ctrl+a ctrl+c
    clipboard_text_is untouched
    road_keys alt+a Tab Tab ctrl+c
    xclip -selection clipboard -o >added.copy 2>/dev/null </dev/null
    [[ "$(tail -n 1 added.copy)" == $'\t0\t0\t0' ]] || road_fail "Add Node added $(tail -n 1 added.copy)"
    road_keys ctrl+z ctrl+z ctrl+c
    clipboard_is nodes.copy nodes.restored
}

# One run of the program: pastes the nodes of $1 and the links of $2 (each after a wrong
# paste that must add nothing; the links with the keys $4), copies both lists back into $1.got
# and $2.got, saves the network as out/$3.NET and .NED and exits.
paste_run() {
    ROAD_LOCALE=de_DE.UTF-8 road_start_program "$program"
    road_wait_window "MESHLOOM Main Menu"
    road_wait_gone "MESHLOOM About Box"
    road_focus "MESHLOOM Main Menu"
    road_keys alt+n
    # The node list is two steps back from the name field; the paste keys work there.
    road_focus "Node Specification Menu"
    road_keys shift+Tab shift+Tab
    paste_wrong "$1" $'Node 151\t12,5x'
    # A header alone adds nothing, and says so.
    head -n 1 "$1" >header.tsv
    clipboard_put header.tsv
    road_focus "Node Specification Menu"
    road_keys ctrl+v
    road_answer_box "Information" Return
    clipboard_put "$1"
    road_focus "Node Specification Menu"
    road_keys shift+Insert
    road_no_box "after pasting the nodes"
    # Undo empties the list, Ctrl+Y pastes again; a deleted first node comes back, with the
    # focus back on the list.
    road_keys ctrl+z ctrl+c
    clipboard_is nodes.head "$1.undone"
    road_keys ctrl+y Home alt+d ctrl+z ctrl+c
    clipboard_is nodes.copy "$1.got"
    # The typed forms beside it: node 9's name as text in UTF-8, its first demand a number.
    clipboard_form_has "$sylk" 'C;X1;Y10;K"Süd 9"'
    clipboard_form_has "$sylk" 'C;X2;Y10;K11.25'
    clipboard_form_has application/x-gnumeric \
        '<gnm:Cell Row="9" Col="0" ValueType="60">Süd 9</gnm:Cell>'
    typed_finds_nodes
    undo_of_the_add_that_filled
    road_keys alt+q
    road_focus "MESHLOOM Main Menu"
    road_keys Return
    road_focus "Link Specification"
    # The paste keys work on the node lists too (Alt+D focuses the destination list, Alt+O the
    # origin list), and Shift+F10 opens the link list's menu on its first entry; the second
    # pastes.
    road_keys alt+d
    paste_wrong "$2" $'Node 1\tNowhere\t5'
    clipboard_put "$2"
    road_focus "Link Specification"
    # shellcheck disable=SC2086 # the keys, one word each
    road_keys $4
    road_no_box "after pasting the links"
    # Undo where the focus is empties the link list; redo on the link list fills it again.
    road_keys ctrl+z alt+l Menu Return
    clipboard_is links.head "$2.undone"
    road_keys ctrl+shift+z Menu Return
    clipboard_is links.copy "$2.got"
    clipboard_form_has "$sylk" 'C;X5;Y2;K100'
    road_keys alt+q
    road_save_as "Specify Name of Network Demand Data File" "$ROAD_WORK/out/$3"
    road_wait_gone "Specify Name of Network Demand Data File"
    road_save_as "Specify Name of Distance File" "$3"
    road_wait_gone "Link Specification"
    road_exit
    road_wait_exit
    [[ "$PROGRAM_STATUS" -eq 0 ]] || road_fail "the program ended with status $PROGRAM_STATUS"
    for kind in NET NED; do
        cmp "expected.$kind" "out/$3.$kind" || road_fail "$3.$kind differs from expected.$kind"
    done
}

# From the spreadsheet's rows; then, in a new run, from what the first run copied out.
paste_run nodes.tsv links.tsv network "alt+o ctrl+v"
paste_run nodes.tsv.got links.tsv.got again "alt+l shift+F10 Down Return"
echo "PASSED: 150 nodes and 300 links pasted, copied back, pasted again and saved alike"
