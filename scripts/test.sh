#!/usr/bin/env bash
# Installs what the tests need, builds the suite and runs it headless through CTest.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages build test
werror=OFF
[[ "${CI:-}" == "true" ]] && werror=ON
build_tree "$ROOT/build-tests" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMESHLOOM_WERROR="$werror" \
    -DMESHLOOM_TESTS=ON -DMESHLOOM_BENCHMARKS=ON

export QT_QPA_PLATFORM=offscreen
cd "$ROOT/build-tests"
ctest -j2 --output-on-failure
