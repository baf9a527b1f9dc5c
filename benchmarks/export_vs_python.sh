#!/usr/bin/env bash
# meshloom-export against the same job in Python with SciPy (export_network.py), process start
# included, and a thousand networks on two cores. Prints the times and their ratio.
#
#   benchmarks/export_vs_python.sh [MESHLOOM-EXPORT]   (default: build-tests/src/cli/meshloom-export)
#
# Needs python3-scipy (Debian), run with /usr/bin/python3. One network: 150 nodes and all
# 22,350 links between them, from rows to both files; the two programs' files are compared
# byte for byte first. Then 1000 such networks (ten link sets of their own, each job writing
# its own two files) through xargs -P 2.
set -euo pipefail
export LC_ALL=C.UTF-8
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:-$here/../build-tests/src/cli/meshloom-export}")
python=/usr/bin/python3
work=$(mktemp -d "${TMPDIR:-/tmp}/meshloom-export-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# Rows of one network: values with up to two decimals, distances 1..10000, seeded.
make_links() {
    awk -v seed="$1" 'BEGIN { srand(seed); print "Origin\tDestination\tDistance"
        for (o = 1; o <= 150; o++) for (d = 1; d <= 150; d++) if (o != d)
            printf "%d\t%d\t%d\n", o, d, 1 + int(rand() * 10000) }'
}
awk 'BEGIN { srand(7); print "Name\tFirst demand\tSecond demand\tFixed cost"
    for (n = 1; n <= 150; n++)
        printf "Node %d\t%.2f\t%.1f\t%d\n", n, rand() * 10000, rand() * 100, int(rand() * 10000) }' >nodes.tsv
for set in {0..9}; do make_links "$set" >"links$set.tsv"; done

"$program" --decimal . nodes.tsv links0.tsv ours.NET ours.NED
"$python" "$here/export_network.py" nodes.tsv links0.tsv theirs.NET theirs.NED
{ cmp ours.NET theirs.NET && cmp ours.NED theirs.NED; } ||
    { echo "The two programs' files differ" >&2; exit 1; }
echo "Same bytes: $(wc -l <ours.NET) demand lines, $(wc -l <ours.NED) distance lines"

# "WALL CPU": the mean milliseconds of one run of a command over $1 runs, on the clock and on
# the processors (user and system time of the process and its children). The machine's other
# load stretches the first; the second is the work itself.
measure() {
    local runs="$1" TIMEFORMAT='%R %U %S' times
    shift
    times=$({ time (for ((run = 0; run < runs; run++)); do "$@" 2>>messages; done); } 2>&1)
    awk -v runs="$runs" '{ printf "%.1f %.1f\n", $1 * 1000 / runs, ($2 + $3) * 1000 / runs }' \
        <<<"$times"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
read -r ours_wall ours_cpu < <(measure 20 "$program" --decimal . nodes.tsv links0.tsv ours.NET ours.NED)
read -r theirs_wall theirs_cpu < <(measure 5 "$python" "$here/export_network.py" nodes.tsv links0.tsv theirs.NET theirs.NED)
echo "One network, per run: meshloom-export ${ours_wall} ms (CPU ${ours_cpu} ms)," \
    "Python with SciPy ${theirs_wall} ms (CPU ${theirs_cpu} ms)"
echo "Ratio: $(ratio "$theirs_wall" "$ours_wall") on the clock, $(ratio "$theirs_cpu" "$ours_cpu") in CPU time"
# Without the disk: both files to /dev/null, so no flush waits for the disk.
read -r bare_wall bare_cpu < <(measure 20 "$program" --decimal . nodes.tsv links0.tsv /dev/null /dev/null)
echo "meshloom-export without the disk (to /dev/null): ${bare_wall} ms (CPU ${bare_cpu} ms)"

mkdir out
TIMEFORMAT='%R %U %S'
# shellcheck disable=SC2016  # the job's words are expanded by its own shell
times=$({ time (seq 0 999 | xargs -P 2 -I{} sh -c \
    'exec "$0" --decimal . nodes.tsv links$(({} % 10)).tsv out/{}.NET out/{}.NED' "$program"); } 2>&1) ||
    { echo "A job failed: $times" >&2; exit 1; }
[[ $(find out -name '*.NED' | wc -l) -eq 1000 ]] || { echo "Not every network was written" >&2; exit 1; }
read -r wall user system <<<"$times"
echo "1000 networks of 150 nodes with xargs -P 2: ${wall} s (CPU $(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }') s)"
