#!/usr/bin/env bash
# Installs what the tests need, builds the suite and runs it headless through CTest: first as
# built normally, then under AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz
# target for a bounded time.
#
#   MESHLOOM_SKIP_SANITIZERS=1   skip the sanitizer build (it doubles the build time)
#   MESHLOOM_SKIP_FUZZ=1         skip the fuzz targets
#   MESHLOOM_FUZZ_SECONDS=N      how long each fuzz target runs (default 30)
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages build test
werror=OFF
[[ "${CI:-}" == "true" ]] && werror=ON
sanitize=true
[[ "${MESHLOOM_SKIP_SANITIZERS:-0}" == 1 ]] && sanitize=false
fuzz=true
[[ "${MESHLOOM_SKIP_FUZZ:-0}" == 1 ]] && fuzz=false

build_tree "$ROOT/build-tests" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMESHLOOM_WERROR="$werror" \
    -DMESHLOOM_TESTS=ON -DMESHLOOM_BENCHMARKS=ON
# -Werror stays off under the sanitizers: their instrumentation makes GCC warn falsely.
$sanitize && build_tree "$ROOT/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMESHLOOM_WERROR=OFF -DMESHLOOM_TESTS=ON -DMESHLOOM_SANITIZE=ON
if $fuzz; then
    configure_tree "$ROOT/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMESHLOOM_WERROR="$werror" -DMESHLOOM_FUZZ=ON \
        -DMESHLOOM_TESTS=OFF -DMESHLOOM_FUZZ_SECONDS="${MESHLOOM_FUZZ_SECONDS:-30}"
    cmake --build "$ROOT/build-fuzz" -j 2 --target meshloom_fuzz
fi

export QT_QPA_PLATFORM=offscreen
status=0
$fuzz && { ctest --test-dir "$ROOT/build-fuzz" -L fuzz --output-on-failure || status=1; }
$sanitize && { ctest --test-dir "$ROOT/build-sanitize" -j2 --output-on-failure || status=1; }
ctest --test-dir "$ROOT/build-tests" -j2 --output-on-failure || status=1
exit $status
