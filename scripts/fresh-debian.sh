#!/usr/bin/env bash
# Tries the README's commands as a new user would, on a fresh minimal Debian made here with
# debootstrap: the suite (scripts/test.sh, with CI=true as CI runs it) and the package
# (scripts/package.sh) in one clean system, then the package installed with apt-get into a
# second clean system of the same release and meshloom-export run there on the README's
# example, its files compared byte for byte with tests/e2e/expected/.
#
#   scripts/fresh-debian.sh RELEASE [SOURCE]
#
#   RELEASE   12 or bookworm, 13 or trixie
#   SOURCE    the project to clone: a path (its checked-out commit is taken) or a URL;
#             by default the repository this script sits in
#
#   MESHLOOM_FRESH_DIR   where the systems are made (default /var/tmp/meshloom-fresh-<release>);
#                        the minimal system made by debootstrap is kept there as base/ and
#                        copied for each run, so a second run does not download it again
#   MESHLOOM_MIRROR      the Debian archive (default: the first one apt is configured with)
#
# Needs root (debootstrap, chroot, mount) and takes tens of minutes. The systems see nothing
# of this machine but /proc, /sys and /dev, mounted while they run. Each step's output is in
# <dir>/logs/; the figures are summed up at the end.
set -euo pipefail
source "$(dirname "$0")/common.sh"

usage() {
    echo "usage: $0 RELEASE [SOURCE]   (RELEASE: 12, 13, bookworm or trixie)" >&2
    exit 64
}
[[ $# -ge 1 && $# -le 2 ]] || usage
case "$1" in
    12 | bookworm) suite=bookworm ;;
    13 | trixie) suite=trixie ;;
    *) usage ;;
esac
source_repo="${2:-$ROOT}"
if [[ $(id -u) -ne 0 ]]; then
    exec sudo MESHLOOM_FRESH_DIR="${MESHLOOM_FRESH_DIR-}" MESHLOOM_MIRROR="${MESHLOOM_MIRROR-}" \
        "$ROOT/scripts/fresh-debian.sh" "$@"
fi

install_packages fresh

# The Debian archive this machine's apt reads: one-line (.list) and deb822 (.sources) forms.
configured_mirror() {
    local file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f "$file" ]] && awk '$1 == "deb" && $2 ~ /\/debian\/?$/ { print $2; exit }' "$file"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [[ -f "$file" ]] && awk '$1 == "URIs:" && $2 ~ /\/debian\/?$/ { print $2; exit }' "$file"
    done
}
mirror="${MESHLOOM_MIRROR:-$(configured_mirror | head -n 1)}"
[[ -n "$mirror" ]] || { echo "No Debian archive in /etc/apt; set MESHLOOM_MIRROR" >&2; exit 1; }

dir="${MESHLOOM_FRESH_DIR:-/var/tmp/meshloom-fresh-$suite}"
mkdir -p "$dir/logs"
dir="$(cd "$dir" && pwd)"
case "$dir/" in
    "$ROOT"/*) echo "MESHLOOM_FRESH_DIR must lie outside the repository" >&2; exit 64 ;;
esac
logs="$dir/logs"
summary=()
note() {
    summary+=("$*")
    echo "== $*"
}

# The file systems a system needs while it runs, mounted into $1 and taken away again on exit
# (before anything under $dir is removed: /dev is this machine's own).
mounted=()
mount_at() {
    local point="${*: -1}"
    mkdir -p "$point"
    mount "$@"
    mounted=("$point" "${mounted[@]}")
}
mount_system() {
    local root="$1"
    mount_at -t proc proc "$root/proc"
    mount_at -t sysfs sysfs "$root/sys"
    mount_at --bind /dev "$root/dev"
    mount_at --bind /dev/pts "$root/dev/pts"
    mount_at -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
}
unmount_all() {
    local point
    for point in "${mounted[@]}"; do
        umount "$point" 2>/dev/null || umount -l "$point" || true
    done
    mounted=()
}
trap unmount_all EXIT
trap 'exit 130' INT TERM

# Removes a system made earlier; refuses while anything is still mounted under it.
remove_system() {
    local root="$1"
    [[ -e "$root" ]] || return 0
    if findmnt -rn -o TARGET | grep -q "^$root/"; then
        echo "Something is still mounted under $root; not removing it" >&2
        exit 1
    fi
    rm -rf --one-file-system "$root"
}

# Runs a command in system $1 with nothing of this machine's environment: only PATH, an empty
# HOME and CI=true, as .ci/run gives the suite.
in_system() {
    local root="$1"; shift
    # shellcheck disable=SC2016 # $HOME is the system's, expanded there
    nice -n 10 chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root/empty-home CI=true /bin/bash -c 'mkdir -p "$HOME" && cd /root && '"$*"
}

# Makes a clean system in $dir/$1, a copy of the minimal one.
fresh_system() {
    local root="$dir/$1"
    remove_system "$root"
    cp -a "$dir/base" "$root"
    mount_system "$root"
}

# The minimal system, once per folder.
if [[ ! -f "$dir/base/.complete" ]]; then
    remove_system "$dir/base"
    start=$SECONDS
    echo "== debootstrap $suite from $mirror (log: $logs/debootstrap.log)"
    nice debootstrap --variant=minbase "$suite" "$dir/base" "$mirror" >"$logs/debootstrap.log" 2>&1 ||
        { tail -n 20 "$logs/debootstrap.log" >&2; exit 1; }
    printf 'deb %s %s main\ndeb %s %s-updates main\n' "$mirror" "$suite" "$mirror" "$suite" \
        >"$dir/base/etc/apt/sources.list"
    touch "$dir/base/.complete"
    note "debootstrap $suite: $((SECONDS - start)) s"
else
    note "minimal $suite system reused from $dir/base"
fi

# The project, as a bundle of its checked-out commit when SOURCE is a path (a work tree of
# another clone included), else cloned from the URL inside the system.
fresh_system build
start=$SECONDS
in_system "$dir/build" "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends git ca-certificates" >"$logs/git.log" 2>&1 ||
    { tail -n 20 "$logs/git.log" >&2; exit 1; }
if [[ -d "$source_repo" ]]; then
    git -C "$source_repo" bundle create "$dir/build/root/meshloom.bundle" HEAD 2>>"$logs/git.log"
    origin=/root/meshloom.bundle
    commit=$(git -C "$source_repo" rev-parse --short HEAD)
else
    origin="$source_repo"
    commit="$source_repo"
fi
in_system "$dir/build" "git -c advice.detachedHead=false clone -q '$origin' meshloom" \
    >>"$logs/git.log" 2>&1 || { tail -n 20 "$logs/git.log" >&2; exit 1; }
note "git installed and project cloned ($commit): $((SECONDS - start)) s"

failed=0
start=$SECONDS
echo "== scripts/test.sh (log: $logs/test.log)"
if in_system "$dir/build" "cd meshloom && scripts/test.sh" >"$logs/test.log" 2>&1; then
    note "scripts/test.sh passed: $((SECONDS - start)) s"
else
    failed=1
    note "scripts/test.sh FAILED: $((SECONDS - start)) s"
fi
counts=$(grep -E '^== .*(passed|FAILED)|tests passed|tests failed' "$logs/test.log" | tr '\n' ';')
# A build that fails before any test runs has no counts; its first error says what went wrong.
note "${counts:-$(grep -m1 -E '(error|Error):' "$logs/test.log" || echo 'no test counts and no error line')}"
note "compiler warnings in the log: $(grep -cE ':[0-9]+:[0-9]+: warning:' "$logs/test.log" || true)"

start=$SECONDS
echo "== scripts/package.sh (log: $logs/package.log)"
if ! in_system "$dir/build" "cd meshloom && scripts/package.sh" >"$logs/package.log" 2>&1; then
    note "scripts/package.sh FAILED: $((SECONDS - start)) s"
    tail -n 30 "$logs/package.log" >&2
    exit 1
fi
package=$(cd "$dir/build/root/meshloom/build" && find . -maxdepth 1 -name 'meshloom_*.deb' -printf '%f\n' | head -n 1)
cp "$dir/build/root/meshloom/build/$package" "$dir/"
note "scripts/package.sh passed: $((SECONDS - start)) s, $package, $(grep -c '^[EW]: ' "$logs/package.log" || true) lintian errors and warnings"
unmount_all

# The package in a second clean system, installed as the README says, and the example run.
fresh_system install
cp "$dir/$package" "$dir/install/root/"
start=$SECONDS
if ! in_system "$dir/install" "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y \
    ./$package" >"$logs/install.log" 2>&1; then
    note "apt-get install ./$package FAILED"
    tail -n 30 "$logs/install.log" >&2
    exit 1
fi
note "apt-get install ./$package: $((SECONDS - start)) s, $(grep -c '^Setting up' "$logs/install.log") packages set up"
mkdir -p "$dir/install/root/example"
cp "$dir/build/root/meshloom/tests/e2e/expected/network.NET" \
    "$dir/build/root/meshloom/tests/e2e/expected/network.NED" "$dir/install/root/example/"
# The README's example with the rows of the end-to-end test's network, whose files are known.
# shellcheck disable=SC1112 # the typographic quote is part of a node's name
{
    printf 'Name\tFirst demand\tSecond demand\tFixed cost\nDepot\t12.5\t0\t300\n'
    printf 'O’Neill – Süd €\t2.0625\t10000\t0\n"<Hub> 3"\t0.35\t1\t2\n'
} >"$dir/install/root/example/nodes.tsv"
# shellcheck disable=SC1112 # as above
printf 'Depot\t2\t5\nO’Neill – Süd €\t3\t7\n3\tDepot\t20\n' >"$dir/install/root/example/links.tsv"
status=0
in_system "$dir/install" "cd example && meshloom-export --decimal . nodes.tsv links.tsv plan.NET plan.NED" \
    >"$logs/export.log" 2>&1 || status=$?
echo "meshloom-export exit status: $status"
cat "$logs/export.log"
if [[ $status -eq 0 ]] && cmp "$dir/install/root/example/plan.NET" "$dir/install/root/example/network.NET" &&
    cmp "$dir/install/root/example/plan.NED" "$dir/install/root/example/network.NED"; then
    note "meshloom-export: status 0, plan.NET ($(wc -c <"$dir/install/root/example/plan.NET") bytes) and plan.NED ($(wc -c <"$dir/install/root/example/plan.NED") bytes) as expected"
else
    failed=1
    note "meshloom-export: status $status, files NOT as expected"
fi
if [[ -f "$dir/install/usr/share/man/man1/meshloom-export.1.gz" ]]; then
    note "manual page of meshloom-export installed"
else
    note "manual page of meshloom-export MISSING"
fi
unmount_all

echo
echo "Debian $suite ($(cat "$dir/base/etc/debian_version")), mirror $mirror:"
printf '  %s\n' "${summary[@]}"
exit "$failed"
