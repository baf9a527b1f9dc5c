# Shared by the scripts: install missing Debian packages and build the trees of the CMake
# presets (CMakePresets.json). The scripts run from the top of the repository, where CMake
# finds the presets.
# shellcheck shell=bash

# The tools the scripts run (compilers, CTest, apt) read and print in one known locale,
# whatever the caller's; C.UTF-8 is on every Debian system. Tests that want a region set theirs.
# The caller's own settings are kept for the program that run.sh starts, which must show the
# planner's region (restore_caller_locale).
CALLER_LC_ALL="${LC_ALL-}" CALLER_HAD_LC_ALL="${LC_ALL+1}"
CALLER_LANGUAGE="${LANGUAGE-}" CALLER_HAD_LANGUAGE="${LANGUAGE+1}"
export LC_ALL=C.UTF-8
unset LANGUAGE

restore_caller_locale() {
    if [[ -n "$CALLER_HAD_LC_ALL" ]]; then export LC_ALL="$CALLER_LC_ALL"; else unset LC_ALL; fi
    if [[ -n "$CALLER_HAD_LANGUAGE" ]]; then export LANGUAGE="$CALLER_LANGUAGE"; fi
}

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT" || exit 1
PACKAGE_LIST="$ROOT/scripts/packages.txt"

# Prints the packages of the given roles that are not installed yet.
missing_packages() {
    local roles="$*" name role
    while read -r name role; do
        [[ -z "$name" || "$name" == \#* ]] && continue
        [[ " $roles " == *" $role "* ]] || continue
        dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' \
            || printf '%s\n' "$name"
    done < "$PACKAGE_LIST"
}

# Installs the packages of the given roles that are missing; does nothing when none are.
install_packages() {
    local missing
    missing=$(missing_packages "$@")
    [[ -z "$missing" ]] && return 0
    echo "Installing missing Debian packages:" $missing
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

# Configures the build tree of the CMake preset $1 (CMakePresets.json), with any further
# CMake options that follow. It runs every time: the preset file is no input of the build, so
# only configuring again makes a changed preset count. In CI (CI=true) warnings are errors, but
# not in the sanitizer tree, whose instrumentation makes GCC warn falsely.
configure_preset() {
    local preset="$1"; shift
    local werror=()
    [[ "${CI:-}" == "true" && "$preset" != sanitize ]] && werror=(-DMESHLOOM_WERROR=ON)
    cmake --preset "$preset" --log-level=WARNING "${werror[@]}" "$@" >/dev/null
}

# Configures (see configure_preset) and builds the tree of the preset $1.
build_preset() {
    configure_preset "$@"
    cmake --build --preset "$1"
}
