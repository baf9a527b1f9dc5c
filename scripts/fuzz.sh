#!/usr/bin/env bash
# Runs every fuzz target (fuzz/) for a while, one after the other, and sums up the runs.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 600 seconds each, every target
#
# The build tree is build-fuzz, of the CMake preset "fuzz", built with Clang. Each target
# starts from its seeds in fuzz/corpus/<target>/ and from what earlier runs in the same tree
# found (build-fuzz/fuzz/corpus/<target>/); an input that fails is saved under
# build-fuzz/fuzz/artifacts/<target>/ and the script ends with status 1.
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds="${1:-600}"
shift || true
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2; }
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(fuzz_text_to_number fuzz_text_to_integer
    fuzz_check_real_entry fuzz_check_integer_entry fuzz_real48)

install_packages build test
dir="$ROOT/build-fuzz"
configure_preset fuzz
cmake --build --preset fuzz --target "${targets[@]}"

failed=()
summary=()
for target in "${targets[@]}"; do
    work="$dir/fuzz/corpus/$target"
    artifacts="$dir/fuzz/artifacts/$target"
    log="$dir/fuzz/logs/$target.log"
    mkdir -p "$work" "$artifacts" "$(dirname "$log")"
    dict=()
    [[ "$target" != fuzz_real48 ]] && dict=(-dict="$ROOT/fuzz/numbers.dict")
    echo "== $target: $seconds s (log: $log)"
    status=0
    "$dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "${dict[@]}" "$work" "$ROOT/fuzz/corpus/$target" \
        >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$log")
    if [[ $status -ne 0 ]]; then
        failed+=("$target")
        summary+=("$target: FAILED (status $status), see $log")
        grep -m1 -A3 -E 'FUZZ CHECK FAILED|ERROR: (AddressSanitizer|libFuzzer)|runtime error' \
            "$log" || true
    else
        summary+=("$target: ${runs:-no count}, no finding")
    fi
done

echo
printf '%s\n' "${summary[@]}"
[[ ${#failed[@]} -eq 0 ]]
