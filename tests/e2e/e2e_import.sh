#!/usr/bin/env bash
# End-to-end test of an import, with real X key events (planner_road.sh): a small test problem
# of four cities given by their coordinates is imported with "meshloom --import FILE", the box
# that says what it holds is taken with Return, and the network goes through the node and link
# windows untouched and is saved by Return in both dialogs, which suggest the file's own name
# with NET and NED beside it. The pair equals the one that meshloom-export --import makes of
# the same file. Exits 0, 1 on a failure, 77 (skipped) without X or xdotool.
#   e2e_import.sh MESHLOOM MESHLOOM-EXPORT [WORK-DIR]
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source-path=SCRIPTDIR source=planner_road.sh
source "$HERE/planner_road.sh"
program="$1" export_command="$2"
[[ -z "$(road_missing_tools Xvfb xdotool)" ]] || { echo "SKIPPED: needs xvfb and xdotool"; exit 77; }
ROAD_WORK="${3:-$(mktemp -d "${TMPDIR:-/tmp}/meshloom-import.XXXXXX")}"
rm -rf "$ROAD_WORK" && mkdir -p "$ROAD_WORK/out" "$ROAD_WORK/command"
ROAD_WORK="$(cd "$ROAD_WORK" && pwd)" out="$ROAD_WORK/out"
trap road_cleanup EXIT
road_start_display 1280x1024 || { echo "SKIPPED: no X server could be started"; exit 77; }

# A picture of the window in front, where MESHLOOM_E2E_SHOTS names a folder for them, once it
# has stopped changing.
shot() {
    [[ -n "${MESHLOOM_E2E_SHOTS:-}" ]] || return 0
    local previous="" current tries
    for tries in $(seq 20); do
        current=$(import -window "$WINDOW" -depth 8 rgb:- | md5sum)
        [[ "$current" == "$previous" ]] && break
        previous="$current"
        sleep 0.2
    done
    import -window "$WINDOW" "$MESHLOOM_E2E_SHOTS/$1.png"
}
same_files() {
    cmp "$1" "$2" || road_fail "$2 differs from $1: $(cat -A "$2" | head -n 20)"
    echo "$(basename "$2"): identical to $1 ($(wc -c <"$2") bytes)"
}

cat >"$out/cities.tsp" <<'TSP'
NAME : cities4
TYPE : TSP
DIMENSION : 4
EDGE_WEIGHT_TYPE : EUC_2D
NODE_COORD_SECTION
1 0 0
2 3 4
3 6 0
4 3 -2.5
EOF
TSP
cp "$out/cities.tsp" "$ROAD_WORK/command/cities.tsp"
"$export_command" --import "$ROAD_WORK/command/cities.tsp" "$ROAD_WORK/command/cities.NET" \
    "$ROAD_WORK/command/cities.NED" >/dev/null 2>&1 || road_fail "meshloom-export --import failed"

road_start_program "$program" --import "$out/cities.tsp"
road_wait_gone "MESHLOOM About Box"
road_focus "Import Network" && shot import-box
road_keys Return && road_wait_gone "Import Network"
road_focus "MESHLOOM Main Menu"
road_no_box "after importing" && shot main-menu-imported
road_keys alt+n && road_focus "Node Specification Menu"
road_keys alt+q && road_focus "MESHLOOM Main Menu"
road_keys alt+l && road_focus "Link Specification"
road_keys alt+q
road_focus "Specify Name of Network Demand Data File" && road_keys Return
road_wait_gone "Specify Name of Network Demand Data File"
road_focus "Specify Name of Distance File" && road_keys Return
road_wait_gone "Specify Name of Distance File"
road_focus "MESHLOOM Main Menu" && road_no_box "after saving"
same_files "$ROAD_WORK/command/cities.NET" "$out/cities.NET"
same_files "$ROAD_WORK/command/cities.NED" "$out/cities.NED"
echo "e2e_import: all passed"
