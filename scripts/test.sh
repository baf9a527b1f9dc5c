#!/usr/bin/env bash
# Installs what the tests need, then builds and runs the suite headless through CTest, one tree
# after the other, fastest answer first: as built normally (preset "tests"), then under
# AddressSanitizer and UndefinedBehaviorSanitizer ("sanitize"), then each fuzz target for a
# bounded time ("fuzz"). The first tree that fails ends the run.
#
#   MESHLOOM_SKIP_SANITIZERS=1   skip the sanitizer tree (it doubles the build time)
#   MESHLOOM_SKIP_FUZZ=1         skip the fuzz targets
#   MESHLOOM_FUZZ_SECONDS=N      how long each fuzz target runs (default 10)
#   MESHLOOM_RANDOM_FULL=1       the random-input run at full length under the sanitizers too
#   CI=true                      warnings are errors (but in the sanitizer tree)
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages build test

# Builds and runs the tree of preset $1 (further arguments go to its configuration).
run_tree() {
    local preset="$1"; shift
    echo "== $preset: building"
    build_preset "$preset" "$@"
    echo "== $preset: running"
    local start=$SECONDS
    if ! ctest --preset "$preset"; then
        echo "== $preset: FAILED after $((SECONDS - start)) s; later trees not run" >&2
        exit 1
    fi
    echo "== $preset: passed in $((SECONDS - start)) s"
}

run_tree tests
[[ "${MESHLOOM_SKIP_SANITIZERS:-0}" == 1 ]] || run_tree sanitize
[[ "${MESHLOOM_SKIP_FUZZ:-0}" == 1 ]] ||
    run_tree fuzz -DMESHLOOM_FUZZ_SECONDS="${MESHLOOM_FUZZ_SECONDS:-10}"
