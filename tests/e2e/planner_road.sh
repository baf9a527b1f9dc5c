# shellcheck shell=bash
# The road a planner takes through MESHLOOM, driven on a private X display with real keyboard
# input from xdotool, and the helpers it needs. Sourced by tests/e2e/e2e_real_input.sh (which
# compares the two files it saves) and by scripts/screenshots.sh (which photographs it).
#
# The program is only ever driven from outside: windows are found by their titles, and every
# key is an X key event. Nothing waits a fixed time: each step waits for the window it needs
# to appear or to go, for at most ROAD_TIMEOUT seconds, and fails with a message saying what
# it was waiting for.
#
# The caller may define snapshot NAME WINDOW-ID before walking the road: it is called at each
# window worth a picture (main-menu, about-box, node-window, link-window, replace-question).
#
# Facts about X without a window manager that the road relies on:
# - The keyboard focus is not handed on when a window hides, so each window is focused
#   explicitly (xdotool windowfocus --sync) before the first key meant for it.
# - With the focus on the root window, keys go to the window under the pointer; the pointer
#   is parked in a corner no window covers, so a lost focus loses the keys instead of
#   sending them somewhere by chance, and no hint pops up under it.

ROAD_TIMEOUT="${ROAD_TIMEOUT:-15}"

# xdotool types the road's typographic characters, and xclip and awk handle the clipboard's
# UTF-8, only in a UTF-8 locale: every tool of the road runs in C.UTF-8, whatever the caller
# has (or lacks). The program gets its own locale (road_start_program).
export LC_ALL=C.UTF-8
unset LANGUAGE

XVFB_PID=""
PROGRAM_PID=""
# The screen size of the display road_start_display started.
ROAD_SIZE=""
ROAD_WORK=""
# Set by road_wait_window and road_focus: the id of the window found.
WINDOW=""
# Set by road_wait_exit: the program's exit status.
PROGRAM_STATUS=""

road_fail() {
    echo "FAILED: $*" >&2
    if [[ -n "${DISPLAY:-}" ]] && command -v xdotool >/dev/null; then
        echo "Visible windows:" >&2
        local id
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            echo "  $id \"$(xdotool getwindowname "$id" 2>/dev/null)\"" >&2
        done
        if [[ -n "$ROAD_WORK" ]] && command -v import >/dev/null; then
            import -window root "$ROAD_WORK/failure.png" 2>/dev/null &&
                echo "Screen at the failure: $ROAD_WORK/failure.png" >&2
        fi
    fi
    if [[ -n "$ROAD_WORK" && -s "$ROAD_WORK/program.log" ]]; then
        echo "Program output:" >&2
        sed 's/^/  /' "$ROAD_WORK/program.log" >&2
    fi
    exit 1
}

# Ends the program (if still running) and the X server this script started.
road_cleanup() {
    if [[ -n "$PROGRAM_PID" ]] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
        kill "$PROGRAM_PID" 2>/dev/null || true
        wait "$PROGRAM_PID" 2>/dev/null || true
    fi
    if [[ -n "$XVFB_PID" ]]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}

# Those of the tools named that are missing, one name per line.
road_missing_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || echo "$tool"
    done
}

# Starts Xvfb on a display of its own and exports DISPLAY. The number is drawn at random from
# 100 to 899 rather than the lowest free one: a test that takes the number another test's
# server has just given up was seen to lose its display a moment later. A number in use fails
# the start, and the server must answer a client before it counts; otherwise another number is
# tried (five tries). Returns 1 if no X server could be started.
road_start_display() {
    local size="$1"
    ROAD_SIZE="$size"
    for _ in 1 2 3 4 5; do
        road_try_display "$size" && return 0
        [[ -n "$XVFB_PID" ]] && { kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; }
        XVFB_PID=""
        sleep 0.5
    done
    return 1
}

road_try_display() {
    local size="$1" number="" fd
    exec {fd}>"$ROAD_WORK/display-number"
    Xvfb ":$((100 + RANDOM % 800))" -displayfd "$fd" -screen 0 "${size}x24" -nolisten tcp \
        >>"$ROAD_WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    exec {fd}>&-
    local deadline=$((SECONDS + ROAD_TIMEOUT))
    while ((SECONDS < deadline)); do
        number=$(head -n 1 "$ROAD_WORK/display-number" 2>/dev/null || true)
        [[ -n "$number" ]] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    [[ -n "$number" ]] || return 1
    export DISPLAY=":$number"
    sleep 0.2
    xdpyinfo >/dev/null 2>&1 || return 1
    # Keys meant for a window must never reach it through the pointer (see above).
    local width="${size%x*}" height="${size#*x}"
    xdotool mousemove $((width - 1)) $((height - 1))
}

# Starts the program on the X display with the keyboard, and nothing else changed from the
# caller's environment but what pins the run down: the X platform even inside a Wayland
# session, the locale ROAD_LOCALE (by default C, whose full stop is the decimal mark the road
# types), and a private configuration folder, so that the file dialog neither reads nor
# writes the user's. Arguments after the program's path are passed on to it.
road_start_program() {
    local program
    program="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
    mkdir -p "$ROAD_WORK/config" "$ROAD_WORK/runtime"
    chmod 700 "$ROAD_WORK/runtime"
    local try
    for try in 1 2; do
        (cd "$ROAD_WORK" && exec env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LC_ALL="${ROAD_LOCALE:-C.UTF-8}" \
            XDG_CONFIG_HOME="$ROAD_WORK/config" XDG_RUNTIME_DIR="$ROAD_WORK/runtime" \
            "$program" "${@:2}") >"$ROAD_WORK/program.log" 2>&1 &
        PROGRAM_PID=$!
        # Under a heavy load the program was seen, rarely, to find no X server on a display that
        # had just answered; that is the test machine's fault, not the program's, so it is said
        # and the program started once more on a fresh display.
        road_program_reached_x && return 0
        ((try == 2)) && return 0
        echo "NOTE: the program could not connect to $DISPLAY (Xvfb $(kill -0 "$XVFB_PID" 2>/dev/null &&
            echo alive || echo gone): $(cat "$ROAD_WORK/xvfb.log")); starting both again" >&2
        road_cleanup
        PROGRAM_PID=""
        road_start_display "$ROAD_SIZE" || road_fail "no X server could be started again"
    done
}

# False when the program ended before it showed a window because it could not connect to the
# X server; true once a window shows, when it ended otherwise, or after ROAD_TIMEOUT.
road_program_reached_x() {
    local deadline=$((SECONDS + ROAD_TIMEOUT))
    while ((SECONDS < deadline)); do
        if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            ! grep -q "could not connect to display" "$ROAD_WORK/program.log"
            return
        fi
        xdotool search --onlyvisible --name 'MESHLOOM' >/dev/null 2>&1 && return 0
        sleep 0.05
    done
}

road_title_pattern() {
    printf '^%s$' "$(printf '%s' "$1" | sed 's/[][\.*^$+?(){}|]/\\&/g')"
}

# Fails if the program has ended although the road still needs it.
road_program_alive() {
    if [[ -n "$PROGRAM_PID" ]] && ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
        local status=0
        wait "$PROGRAM_PID" || status=$?
        PROGRAM_PID=""
        road_fail "the program ended (status $status) while the road was $1"
    fi
}

# Waits for a visible window titled exactly $1 and sets WINDOW to its id. The wait is
# xdotool's own, in slices of a second, so that a program that has died is noticed at once.
road_wait_window() {
    local title="$1" deadline=$((SECONDS + ROAD_TIMEOUT))
    WINDOW=""
    while [[ -z "$WINDOW" ]]; do
        road_program_alive "waiting for \"$title\""
        ((SECONDS < deadline)) || road_fail "no window \"$title\" appeared within $ROAD_TIMEOUT s"
        WINDOW=$(timeout 1 xdotool search --sync --onlyvisible --name \
            "$(road_title_pattern "$title")" 2>/dev/null | head -n 1) || true
    done
}

# Waits until no window titled exactly $1 is visible.
road_wait_gone() {
    local title="$1" deadline=$((SECONDS + ROAD_TIMEOUT))
    while xdotool search --onlyvisible --name "$(road_title_pattern "$title")" >/dev/null 2>&1; do
        road_program_alive "waiting for \"$title\" to go"
        ((SECONDS < deadline)) || road_fail "the window \"$title\" did not go within $ROAD_TIMEOUT s"
        sleep 0.05
    done
}

# Fails if a message box nobody asked for stands on the screen (a refused entry, say).
road_no_box() {
    local title
    for title in Warning Information Confirm Error; do
        if xdotool search --onlyvisible --name "$(road_title_pattern "$title")" >/dev/null 2>&1; then
            road_fail "an unexpected \"$title\" box is open $1"
        fi
    done
}

# Gives the keyboard focus to the window titled $1, waiting for it; sets WINDOW to its id.
road_focus() {
    road_wait_window "$1"
    timeout "$ROAD_TIMEOUT" xdotool windowfocus --sync "$WINDOW" ||
        road_fail "the window \"$1\" did not take the keyboard focus"
}

road_keys() {
    xdotool key --delay 30 "$@"
}

# Characters that the keyboard map lacks get keys of their own before they are typed. Left to
# itself, xdotool binds such a character to a spare key for the one keystroke and takes the key
# back at once; a busy program that reads the changed map only after that sees a key that types
# nothing, and the character is lost.
declare -A ROAD_BOUND_KEYS=()
road_bind_characters() {
    local character keycode keysym
    while IFS= read -r character; do
        [[ -n "${ROAD_BOUND_KEYS[$character]+set}" ]] && continue
        keycode=$(xmodmap -pke | awk 'NF == 3 && $2 > 8 && !found { print $2; found = 1 }')
        [[ -n "$keycode" ]] || road_fail "no free key is left for \"$character\""
        printf -v keysym 'U%04X' "'$character"
        xmodmap -e "keycode $keycode = $keysym" || road_fail "\"$character\" could not be given a key"
        ROAD_BOUND_KEYS[$character]=$keycode
    done < <(grep -o '[^ -~]' <<<"$1")
}

road_type() {
    road_bind_characters "$1"
    xdotool type --delay 30 -- "$1"
}

# Answers the message box titled $1, whose text is not read here, with the keys that follow.
road_answer_box() {
    local title="$1"
    shift
    road_focus "$title"
    road_keys "$@"
    road_wait_gone "$title"
}

# Types a full path into the file name field of the save dialog titled $1 and confirms it.
road_save_as() {
    local title="$1" path="$2"
    road_focus "$title"
    # The name field has the focus when the dialog opens; Ctrl+A empties it of a name shown
    # from an earlier save.
    road_keys ctrl+a
    road_type "$path"
    road_keys Return
}

# Fails unless window $1 stands above window $2 (both ids). xwininfo lists the root's
# children from the top down. Without xwininfo (x11-utils) the check is left out.
road_above() {
    command -v xwininfo >/dev/null || return 0
    local upper lower
    upper=$(xwininfo -root -children | grep -n -m 1 "$(printf '0x%x ' "$1")" | cut -d: -f1)
    lower=$(xwininfo -root -children | grep -n -m 1 "$(printf '0x%x ' "$2")" | cut -d: -f1)
    [[ -n "$upper" && -n "$lower" && "$upper" -lt "$lower" ]] ||
        road_fail "the window $3 does not stand above $4"
}

snapshot() { :; }

# The desktop entry whose StartupWMClass the program's windows must carry as their class.
ROAD_DESKTOP_ENTRY="${ROAD_DESKTOP_ENTRY:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../packaging" && pwd)/org.meshloom.Meshloom.desktop}"

# Fails unless the class in WM_CLASS of window $1 is the desktop entry's StartupWMClass, so
# that a task bar shows the entry's icon for it. Without xprop (x11-utils) it is left out.
road_window_class_matches_entry() {
    command -v xprop >/dev/null || return 0
    local expected wm_class class
    expected=$(sed -n 's/^StartupWMClass=//p' "$ROAD_DESKTOP_ENTRY")
    [[ -n "$expected" ]] || road_fail "the desktop entry $ROAD_DESKTOP_ENTRY has no StartupWMClass"
    # WM_CLASS(STRING) = "instance", "class"
    wm_class=$(xprop -id "$1" WM_CLASS)
    class=$(sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\(.*\)"$/\1/p' <<<"$wm_class")
    [[ "$class" == "$expected" ]] ||
        road_fail "the window class is \"$class\" ($wm_class), the desktop entry says \"$expected\""
    echo "$wm_class matches StartupWMClass=$expected"
}

# Node window: the name, then the three values, each field left with Tab, then Alt+A. The
# keys named in $5, if any, are pressed after the first value is typed, to edit it.
road_add_node() {
    road_keys alt+n
    road_type "$1"
    road_keys Tab
    road_type "$2"
    # shellcheck disable=SC2086  # $5 is a list of key names
    [[ -z "${5:-}" ]] || road_keys $5
    road_keys Tab
    road_type "$3"
    road_keys Tab
    road_type "$4"
    road_keys Tab alt+a
}

# Link window: origin and destination by their line (the first Down selects line 1), the
# distance left with Tab (which enables the add buttons), then Alt+U (one way) or Alt+B.
# The keys named in $5, if any, are pressed after the distance is typed, to edit it.
road_add_link() {
    local origin="$1" destination="$2" distance="$3" button="$4" downs k
    downs=()
    for ((k = 0; k < origin; k++)); do downs+=(Down); done
    road_keys alt+o "${downs[@]}"
    downs=()
    for ((k = 0; k < destination; k++)); do downs+=(Down); done
    road_keys alt+d "${downs[@]}"
    road_keys alt+i
    road_type "$distance"
    # shellcheck disable=SC2086  # $5 is a list of key names
    [[ -z "${5:-}" ]] || road_keys $5
    road_keys Tab "$button"
}

# The whole road, from the splash to the confirmed exit. Saves the demand data file as
# $1/network.NET, typed as a full path, and the distance file as $1/network.NED, typed as a
# bare name in the folder its dialog opens in, both without their extensions. $1 must not be
# the program's working folder, and a file network.NET must exist there beforehand, so that
# the replace question comes.
road_walk() {
    local out="$1"

    # The splash stands above the main menu for a moment and goes by itself.
    local splash
    road_wait_window "MESHLOOM About Box"
    splash="$WINDOW"
    road_wait_window "MESHLOOM Main Menu"
    road_above "$splash" "$WINDOW" "splash" "the main menu"
    road_wait_gone "MESHLOOM About Box"
    road_focus "MESHLOOM Main Menu"
    road_window_class_matches_entry "$WINDOW"
    snapshot main-menu "$WINDOW"

    # The about box from the menu, left with its default button.
    road_keys alt+a
    road_focus "MESHLOOM About Box"
    road_wait_gone "MESHLOOM Main Menu"
    snapshot about-box "$WINDOW"
    road_keys Return
    road_wait_gone "MESHLOOM About Box"

    # The about button has the focus; Tab moves it to "&Node Specifications", and Return
    # presses that.
    road_focus "MESHLOOM Main Menu"
    road_keys Tab Return
    road_focus "Node Specification Menu"
    road_wait_gone "MESHLOOM Main Menu"
    # X delivers Delete with the text DEL; it must edit the field, not be refused by the key
    # rule (which would keep 112.5 and save it).
    road_add_node "Depot" 112.5 0 300 "Home Delete"
    # Typographic characters, saved as their Windows-1252 bytes.
    road_add_node "O’Neill – Süd €" 2.0625 10000 0
    road_add_node "<Hub> 3" 0.35 1 2
    road_no_box "in the node window"
    snapshot node-window "$WINDOW"
    road_keys alt+q
    road_wait_gone "Node Specification Menu"

    # The node button had the focus; with the node step done it passes to
    # "&Link Specifications", so Return goes on to the links (not to the exit question).
    road_focus "MESHLOOM Main Menu"
    road_keys Return
    road_focus "Link Specification"
    road_wait_gone "MESHLOOM Main Menu"
    road_add_link 1 2 15 alt+b "Home Delete"
    road_add_link 2 3 7 alt+u
    road_add_link 3 1 20 alt+u
    road_no_box "in the link window"
    snapshot link-window "$WINDOW"
    # The list now reads 1->2, 2->1, 3->1, 2->3; the second line goes: one direction of the
    # two-way pair.
    road_keys alt+l Down Down alt+r
    road_no_box "after removing a link"

    road_keys alt+q
    road_save_as "Specify Name of Network Demand Data File" "$out/network"
    road_focus "Confirm"
    snapshot replace-question "$WINDOW"
    road_keys Return
    road_wait_gone "Confirm"
    road_wait_gone "Specify Name of Network Demand Data File"
    # A bare name: the dialog opens in the demand data file's folder, so it is saved there.
    road_save_as "Specify Name of Distance File" "network"
    road_wait_gone "Specify Name of Distance File"
    road_wait_gone "Link Specification"
    road_exit
}

# From the main menu after a save: no box open, then Exit, confirmed, and the farewell box.
# The program ends with that box; road_wait_exit waits for that.
road_exit() {
    road_focus "MESHLOOM Main Menu"
    road_no_box "back on the main menu"
    road_keys alt+e
    road_answer_box "Confirm" Return
    road_focus "Information"
    road_keys Return
}

# Waits for the program to end and sets PROGRAM_STATUS to its exit status.
# shellcheck disable=SC2034  # PROGRAM_STATUS is read by the caller
road_wait_exit() {
    local deadline=$((SECONDS + ROAD_TIMEOUT))
    while kill -0 "$PROGRAM_PID" 2>/dev/null; do
        ((SECONDS < deadline)) || road_fail "the program did not end within $ROAD_TIMEOUT s of the exit"
        sleep 0.05
    done
    PROGRAM_STATUS=0
    wait "$PROGRAM_PID" || PROGRAM_STATUS=$?
    PROGRAM_PID=""
}
