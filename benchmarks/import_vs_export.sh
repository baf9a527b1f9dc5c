#!/usr/bin/env bash
# meshloom-export --import of a 150-place square table (22,350 values) to both files, process
# start included, beside the export of the same network from rows. Prints the times and
# their ratio; asserts no time.
#
#   benchmarks/import_vs_export.sh [MESHLOOM-EXPORT]   (default: build-tests/src/cli/meshloom-export)
#
# Timed with farm-bench where it is installed (median of 50 runs, the two commands in turn),
# else hyperfine, else the shell's clock over 50 runs. The two ways' files are compared byte
# for byte first.
set -euo pipefail
export LC_ALL=C.UTF-8
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:-$here/../build-tests/src/cli/meshloom-export}")
work=$(mktemp -d "${TMPDIR:-/tmp}/meshloom-import-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# One network, seeded: the table, and the same values as node rows and link rows.
awk 'BEGIN { srand(11); n = 150
    for (o = 1; o <= n; o++) for (d = 1; d <= n; d++) v[o, d] = o == d ? 0 : 1 + int(rand() * 10000)
    printf "" > "table.csv"
    for (d = 1; d <= n; d++) printf ";Place %d", d > "table.csv"; printf "\n" > "table.csv"
    print "Name\tFirst demand\tSecond demand\tFixed cost" > "nodes.tsv"
    print "Origin\tDestination\tDistance" > "links.tsv"
    for (o = 1; o <= n; o++) {
        printf "Place %d", o > "table.csv"
        printf "Place %d\t1\t0\t0\n", o > "nodes.tsv"
        for (d = 1; d <= n; d++) {
            printf ";%d", v[o, d] > "table.csv"
            if (o != d) printf "%d\t%d\t%d\n", o, d, v[o, d] > "links.tsv"
        }
        printf "\n" > "table.csv"
    } }'
"$program" --import table.csv imported.NET imported.NED 2>report
"$program" --decimal . nodes.tsv links.tsv exported.NET exported.NED
{ cmp imported.NET exported.NET && cmp imported.NED exported.NED; } ||
    { echo "The import's files differ from the export's" >&2; exit 1; }
echo "Same bytes: $(cat report)"

import=("$program" --import table.csv a.NET a.NED)
export=("$program" --decimal . nodes.tsv links.tsv b.NET b.NED)
if command -v farm-bench >/dev/null; then
    farm-bench -n 50 --warmup 3 --vs "${export[*]}" -- "${import[@]}"
elif command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 3 "${import[*]}" "${export[*]}"
else
    measure() {
        local TIMEFORMAT='%R' times
        times=$({ time (for ((run = 0; run < 50; run++)); do "$@" 2>/dev/null; done); } 2>&1)
        awk '{ printf "%.2f", $1 * 1000 / 50 }' <<<"$times"
    }
    ours=$(measure "${import[@]}")
    theirs=$(measure "${export[@]}")
    echo "--import of the table: ${ours} ms a run; the export from rows: ${theirs} ms a run"
    echo "Ratio: $(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')"
fi
