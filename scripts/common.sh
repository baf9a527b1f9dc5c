# Shared by run.sh and test.sh: install missing Debian packages and build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
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

# Configures the tree in $1 with the CMake options that follow, unless it was configured with
# exactly these options before (so a second run rebuilds nothing, and a changed option, such as
# CI=true turning warnings into errors, is never silently ignored).
configure_tree() {
    local dir="$1"; shift
    local options
    options=$(printf '%s\n' "$@")
    if [[ ! -f "$dir/build.ninja" || "$(cat "$dir/.meshloom-options" 2>/dev/null)" != "$options" ]]; then
        cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
        printf '%s' "$options" > "$dir/.meshloom-options"
    fi
}

# Configures (see configure_tree) and builds the tree in $1 with the CMake options that follow.
build_tree() {
    configure_tree "$@"
    cmake --build "$1" -j 2
}
