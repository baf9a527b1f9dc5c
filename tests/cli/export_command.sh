#!/usr/bin/env bash
# meshloom-export from a script, with no display: the end-to-end network from rows gives the
# files the windows saved; refusals, a failed write and a network that is not connected end
# with their statuses and write nothing they should not.
#
#   export_command.sh MESHLOOM-EXPORT EXPECTED-DIR WORK-DIR PROJECT-VERSION
set -uo pipefail
export LC_ALL=C.UTF-8
program="$1" expected="$2" work="$3" version="$4"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# It links no Qt (nor anything of a display) and starts none.
libraries=$(ldd "$program") || fail "ldd cannot read $program"
grep -iE 'qt|libx11|xcb|wayland|libgl' <<<"$libraries" && fail "meshloom-export links a display library"

# Runs the command with nothing of the caller's environment but the locale given first, no
# DISPLAY and no WAYLAND_DISPLAY; its status in $status and its messages in $work/err.
run() {
    local locale="$1"
    shift
    env -i LC_ALL="$locale" "$program" "$@" >out 2>err
    status=$?
}
# expect STATUS PATTERN CASE: the last run ended with STATUS and said something matching
# PATTERN, or nothing at all when PATTERN is empty.
expect() {
    [[ $status -eq $1 ]] || fail "status $status, not $1 (case: $3)"
    if [[ -z "$2" ]]; then
        [[ ! -s err && ! -s out ]] || fail "not silent (case: $3): $(cat err out)"
    else
        grep -qE -- "$2" err out || fail "no \"$2\" in the messages (case: $3): $(cat err)"
    fi
}

# The end-to-end network, as a planner keeps it in a spreadsheet of a German region (10.000
# grouped as the region groups it).
# shellcheck disable=SC1112  # the typographic quote is part of the name
printf 'Name\tFirst demand\tSecond demand\tFixed cost\nDepot\t12,5\t0\t300\nO’Neill – Süd €\t2,0625\t10.000\t0\n"<Hub> 3"\t0,35\t1\t2\n' >nodes.tsv
# shellcheck disable=SC1112
printf 'Depot\t2\t5\nO’Neill – Süd €\t3\t7\n3\tDepot\t20\n' >links.tsv

run de_DE.UTF-8 nodes.tsv links.tsv plan.NET plan.NED
expect 0 '' "rows with the region's decimal comma"
{ cmp plan.NET "$expected/network.NET" && cmp plan.NED "$expected/network.NED"; } ||
    fail "the files differ from those the windows saved"
# The saved demand data file read back from standard input, whatever the decimal symbol.
run C.UTF-8 --decimal , - links.tsv again.NET again.NED <"$expected/network.NET"
expect 0 '' "a saved demand data file on standard input"
{ cmp again.NET "$expected/network.NET" && cmp again.NED "$expected/network.NED"; } ||
    fail "the files from standard input differ"

# The picture beside the files: every node by name, every drawn link, no node cut off.
run de_DE.UTF-8 --picture plan.svg nodes.tsv links.tsv plan.NET plan.NED
expect 0 '' "--picture"
[[ $(grep -c '<g class="node" data-node=' plan.svg) -eq 3 && $(grep -c 'class="link ' plan.svg) -eq 3 ]] &&
    grep -q '>O’Neill – Süd €</text>' plan.svg && grep -q '>&lt;Hub&gt; 3</text>' plan.svg ||
    fail "the picture lacks a node or a link: $(cat plan.svg)"

# Refusals write nothing: status, and the message names file, row and column.
sed 's/12,5/12.5/; s/2,0625/2.0625/; s/0,35/0.35/; s/10\.000/10000/' nodes.tsv >point-nodes.tsv
printf 'Depot\t2\t5\n2\t4\t7\n' >bad-links.tsv
printf 'Depot\t1\t2\t3\n' >one.tsv
{ printf 'Depot\t'; head -c 70000 /dev/zero | tr '\0' 9; } >long.tsv
# A name one character longer than a saved file can give back (the euro sign is one byte there).
{ printf '%s\t1\t2\t3\nB\t1\t2\t3\n' "$(printf '€%.0s' {1..4097})"; } >long-name.tsv
while IFS='|' read -r status_wanted pattern case args; do
    rm -f none.NET none.NED
    # shellcheck disable=SC2086  # args is a list of words
    run de_DE.UTF-8 $args none.NET none.NED </dev/null
    expect "$status_wanted" "$pattern" "$case"
    [[ ! -e none.NET && ! -e none.NED ]] || fail "a file was written (case: $case)"
done <<'CASES'
1|point-nodes.tsv: Row 2, first demand: "12.5" is not a number|a point in a region of the comma|point-nodes.tsv links.tsv
1|links.tsv: Row 2, destination: there is no node 4|a node that is not there|nodes.tsv bad-links.tsv
1|one.tsv: 1 node; a network has from 2 to 150 nodes|a single node|one.tsv links.tsv
1|long.tsv: Row 1: a cell holds more than 65536 bytes.$|a cell too long to look at|long.tsv links.tsv
1|long-name.tsv: Row 1, name: the name holds 4097 characters; a name holds at most 4096.$|a name too long to open again|long-name.tsv links.tsv
1|/dev/zero: Row 1: a cell holds more than 65536 bytes.$|an endless cell|/dev/zero links.tsv
66|missing.tsv: No such file or directory|NODES missing|missing.tsv links.tsv
64|Try 'meshloom-export --help'|an unknown option|--verbose nodes.tsv links.tsv
64|invalid decimal symbol ';'|a decimal symbol that is none|--decimal ; nodes.tsv links.tsv
64|cannot both be read from standard input|both from standard input|- -
CASES

# A file that cannot be written (the file-size limit: 1 KiB): status 2, file and reason, and
# the earlier files kept byte for byte.
for ((node = 1; node <= 20; node++)); do printf 'N%d\t1\t2\t3\n' $node; done >chain-nodes.tsv
for ((node = 1; node < 20; node++)); do printf '%d\t%d\t9\n%d\t%d\t9\n' $node $((node + 1)) $((node + 1)) $node; done >chain-links.tsv
echo earlier >big.NET && echo earlier >big.NED
(ulimit -f 1 && env -i LC_ALL=C.UTF-8 "$program" chain-nodes.tsv chain-links.tsv big.NET big.NED >out 2>err)
status=$?
here=$(pwd -P)
expect 2 "FATAL ERROR SAVING DISTANCE FILE: $here/big.NED: File too large" "the file-size limit"
grep -q "FATAL ERROR SAVING DEMAND DATA FILE: $here/big.NET: File too large" err || fail "the demand data file's failure is not named"
[[ "$(cat big.NET big.NED)" == $'earlier\nearlier' ]] || fail "an earlier file was changed"
[[ -z "$(find . -name '.big.*')" ]] || fail "a temporary file was left behind"

# Not connected (node 3 is reached by none): warned with the pairs, saved unless it must not be.
printf 'Depot\t2\t5\n2\tDepot\t5\n' >part-links.tsv
run C.UTF-8 point-nodes.tsv part-links.tsv part.NET part.NED
expect 0 'NETWORK IS NOT CONNECTED' "not connected"
grep -q '^  to 3 <Hub> 3: no path' err || fail "the unjoined pairs are not listed: $(cat err)"
[[ "$(tr -d '\r' <part.NED | paste -sd ' ')" == "0 5 10000 5 0 10000 10000 10000 0" ]] ||
    fail "the distances of the network that is not connected are wrong"
run C.UTF-8 --require-connected point-nodes.tsv part-links.tsv strict.NET strict.NED
expect 3 'nothing written' "not connected, with --require-connected"
[[ ! -e strict.NET && ! -e strict.NED ]] || fail "--require-connected wrote a file"

# Standard output for "-" or a name that leads to a pipe (written in place, as any pipe);
# never both files there, nor two names of one file (a link to a free name too); a help that
# cannot be written fails.
env -i LC_ALL=C.UTF-8 "$program" point-nodes.tsv links.tsv - std.NED >std.NET 2>err
status=$?
{ cmp std.NET "$expected/network.NET" && cmp std.NED "$expected/network.NED"; } ||
    fail "the demand data file on standard output differs (status $status): $(cat err)"
env -i LC_ALL=C.UTF-8 "$program" point-nodes.tsv links.tsv /dev/stdout piped.NED 2>err | cat >piped.NET
[[ ${PIPESTATUS[0]} -eq 0 ]] && cmp piped.NET "$expected/network.NET" || fail "/dev/stdout into a pipe: $(cat err)"

# Every output of every mode passes the same checks before anything is read or written: no
# two outputs are one file (by name, "-", /dev/stdout, /proc/self/fd/1, a symbolic link to a
# free name, a hard link), no output is an input, and no option goes unused. Standard output is
# the file "out" here.
ln -s same.NED same.NET
echo earlier >hard.NET && ln hard.NET hard.NED
cp "$expected/network.NET" keep.NET && cp "$expected/network.NED" keep.NED
while IFS='|' read -r mode pattern case args; do
    # shellcheck disable=SC2086  # args is a list of words
    if [[ $mode == rows ]]; then run C.UTF-8 --rows keep.NET keep.NED $args; else run C.UTF-8 point-nodes.tsv links.tsv $args; fi
    expect 64 "^meshloom-export: $pattern$" "$mode: $case"
done <<'CASES'
export|DEMAND_FILE - and DISTANCE_FILE - are one file|both to standard output|- -
export|DEMAND_FILE /dev/stdout and DISTANCE_FILE - are one file|two names of standard output|/dev/stdout -
export|DEMAND_FILE /proc/self/fd/1 and DISTANCE_FILE - are one file|its descriptor|/proc/self/fd/1 -
export|DEMAND_FILE x.NET and DISTANCE_FILE x.NET are one file|one name twice|x.NET x.NET
export|DEMAND_FILE same.NET and DISTANCE_FILE same.NED are one file|a link to the other, free name|same.NET same.NED
export|DEMAND_FILE hard.NET and DISTANCE_FILE hard.NED are one file|a hard link|hard.NET hard.NED
export|DISTANCE_FILE links.tsv would replace LINKS links.tsv, which is read|an output that is an input|x.NET links.tsv
export|DISTANCE_FILE x.NED and --picture x.NED are one file|the picture over a file|--picture x.NED x.NET x.NED
export|DEMAND_FILE - and --picture /dev/stdout are one file|the picture to standard output too|--picture=/dev/stdout - x.NED
rows|NODES - and LINKS - are one file|both to standard output|- -
rows|NODES /dev/stdout and LINKS - are one file|two names of standard output|/dev/stdout -
rows|NODES /proc/self/fd/1 and LINKS - are one file|its descriptor|/proc/self/fd/1 -
rows|NODES x.tsv and LINKS x.tsv are one file|one name twice|x.tsv x.tsv
rows|NODES same.NET and LINKS same.NED are one file|a link to the other, free name|same.NET same.NED
rows|NODES hard.NET and LINKS hard.NED are one file|a hard link|hard.NET hard.NED
rows|NODES keep.NED would replace DISTANCE_FILE keep.NED, which is read|its own pair, crossed|keep.NED keep.NET
rows|--picture does not go with --rows|the picture|--picture=x.svg x.tsv y.tsv
rows|--require-connected does not go with --rows|--require-connected|--require-connected x.tsv y.tsv
CASES
[[ ! -e same.NED && ! -e x.NET && ! -e x.NED && ! -e x.tsv && ! -e x.svg && $(cat hard.NET) == earlier ]] ||
    fail "a refused command wrote a file"
{ cmp keep.NET "$expected/network.NET" && cmp keep.NED "$expected/network.NED"; } || fail "--rows changed its input"
# Names that lead to an input only once it is open (/proc/self/fd/N, /dev/fd/N), standard
# streams closed (a name of one never reaches a file opened in its place), a folder that is not
# there, and names a demand data file cannot hold: each ends with its status and message, the
# inputs byte for byte as they were and no output written (o.NET, o.NED, o.svg).
printf 'Depot\t1\t2\t3\n\xc5\x81\xc3\xb3d\xc5\xba\t1\t2\t3\n' >lodz.tsv
printf '   %d    0.0    0.0              1.000            2.000            3.000   < De\x7fpot >\r\n' 1 2 >del.NET
printf '   %d    0.0    0.0              1.000            2.000            3.000   < B\x81x >\r\n' 1 2 >c1.NET
cp point-nodes.tsv n.tsv && cp links.tsv l.tsv
while IFS='|' read -r status_wanted streams pattern case args; do
    rm -f o.NET o.NED o.svg
    # (Descriptors from 3 up closed, so that the inputs take 3 and 4.)
    eval "env -i LC_ALL=C.UTF-8 \"\$program\" $args >out 2>err $streams 3>&- 4>&- 5>&- 6>&- 7>&- 8>&- 9>&-"
    status=$?
    expect "$status_wanted" "$pattern" "$case"
    [[ ! -e o.NET && ! -e o.NED && ! -e o.svg ]] || fail "an output was written (case: $case)"
    cmp -s n.tsv point-nodes.tsv && cmp -s l.tsv links.tsv || fail "an input changed (case: $case)"
    cp point-nodes.tsv n.tsv && cp links.tsv l.tsv
done <<'CASES'
64||--picture /proc/self/fd/3 would replace NODES n.tsv, which is read|the picture on the nodes' descriptor|n.tsv l.tsv o.NET o.NED --picture /proc/self/fd/3
64||DISTANCE_FILE /dev/fd/4 would replace LINKS l.tsv, which is read|the distances on the links' descriptor|n.tsv l.tsv o.NET /dev/fd/4
64||NODES /dev/fd/3 would replace DEMAND_FILE n.tsv, which is read|--rows, its input's descriptor|--rows n.tsv l.tsv /dev/fd/3 o.NED
64|>&-|DEMAND_FILE /dev/stdout: standard output is closed|standard output closed, named|n.tsv l.tsv /dev/stdout o.NED
64|>&-|DISTANCE_FILE -: standard output is closed|standard output closed, as -|n.tsv l.tsv o.NET -
64|<&-|NODES -: standard input is closed|standard input closed, as -|- l.tsv o.NET o.NED
64|<&-|NODES /dev/stdin: standard input is closed|standard input closed, named|/dev/stdin l.tsv o.NET o.NED
2||DEMAND_FILE /nonexistent/dir/o.NET cannot be written \(in the folder /nonexistent/dir\): No such file or directory; nothing written|a folder that is not there|n.tsv l.tsv /nonexistent/dir/o.NET o.NED
2||--picture n.tsv/o.svg cannot be written: Not a directory; nothing written|a folder that is a file|n.tsv l.tsv o.NET o.NED --picture n.tsv/o.svg
1||lodz.tsv: Row 2, name: the name holds "Ł" \(U\+0141\), which a demand data file cannot hold.$|a character without a byte|lodz.tsv l.tsv o.NET o.NED
1||del.NET: Row 1, name: the name holds U\+007F, which a demand data file cannot hold.$|DEL in a saved line|del.NET l.tsv o.NET o.NED
1||c1.NET: Row 1, name: the name holds U\+0081, which a demand data file cannot hold.$|a byte that stands for no character|c1.NET l.tsv o.NET o.NED
CASES
# With standard error closed, a name of it is refused all the same, and nothing is written.
env -i LC_ALL=C.UTF-8 "$program" n.tsv l.tsv o.NET /dev/stderr >out 2>&-
status=$?
[[ $status -eq 64 && ! -e o.NET ]] && cmp -s n.tsv point-nodes.tsv || fail "standard error closed, named"

# Writing to /dev/null twice, as a benchmark does, is allowed: it keeps nothing.
run C.UTF-8 point-nodes.tsv links.tsv /dev/null /dev/null
expect 0 '' "both files to /dev/null"
env -i LC_ALL=C.UTF-8 "$program" --help >/dev/full 2>err
status=$?
expect 70 "write error: No space left on device" "--help into a full disk"

# A gigabyte of node rows on standard input, in little memory: counted, not kept, and refused.
# (AddressSanitizer reserves its shadow memory first, so it runs without the limit.)
(
    grep -q libasan <<<"$libraries" || ulimit -v 131072
    yes $'Node\t1\t2\t3' | head -c 1G | env -i LC_ALL=C.UTF-8 "$program" - links.tsv g.NET g.NED
) >out 2>err
status=$?
expect 1 "^meshloom-export: standard input: 97612894 nodes; a network has from 2 to 150 nodes.$" "1 GB of node rows"

# A saved pair back to rows (links rebuilt), which give the same pair again; a refused file.
run de_DE.UTF-8 --rows "$expected/network.NET" "$expected/network.NED" back-nodes.tsv back-links.tsv
expect 0 '' "--rows of the saved pair"
run de_DE.UTF-8 back-nodes.tsv back-links.tsv back.NET back.NED
{ cmp back.NET "$expected/network.NET" && cmp back.NED "$expected/network.NED"; } ||
    fail "the rows of --rows do not give the saved pair back"
printf '0\r\n' >short.NED
run C.UTF-8 --rows "$expected/network.NET" short.NED - short-links.tsv
expect 1 '^meshloom-export: short.NED: The file holds 1 distance; 3 nodes need 9.$' "--rows, a short distance file"

# A property: networks whose names are random bytes that a demand data file can hold (no
# control byte, none of the five that stand for no character), given as a saved demand data
# file: the export, its rows (--rows) and their export give one pair, and so does the saved
# file given as NODES again. Values and distances random too; a region of the decimal comma.
value() { printf '%d.%03d' $((RANDOM % 10000)) $((RANDOM % 1000)); }
for ((network = 1; network <= 12; network++)); do
    nodes=$((2 + RANDOM % 40))
    for ((node = 1; node <= nodes; node++)); do
        # (The first name of the first network is as long as a name may be.)
        length=$((network + node == 2 ? 8192 : RANDOM % 24)) limit=$((network + node == 2 ? 4096 : 24))
        name=$(head -c $length /dev/urandom | LC_ALL=C tr -d '\000-\037\177\201\215\217\220\235' | head -c $limit)
        # (A name of digits would make the links' node numbers ambiguous.)
        LC_ALL=C && [[ $name =~ ^[-+.,\ 0-9]*[0-9][-+.,\ 0-9]*$ ]] && name="N$name"
        LC_ALL=C.UTF-8
        printf '%4d    0.0    0.0    %15s  %15s  %15s   < %s >\r\n' $node "$(value)" "$(value)" "$(value)" "$name"
    done >random.NET
    for ((node = 2; node <= nodes; node++)); do
        parent=$((RANDOM % (node - 1) + 1))
        printf '%d\t%d\t%d\n%d\t%d\t%d\n' $parent $node $((RANDOM % 200)) $node $parent $((RANDOM % 200))
    done >random-links.tsv
    run de_DE.UTF-8 random.NET random-links.tsv first.NET first.NED
    expect 0 '' "random network $network, exported"
    run de_DE.UTF-8 --rows first.NET first.NED random-nodes.tsv random-rows.tsv
    expect 0 '' "random network $network, --rows"
    run de_DE.UTF-8 random-nodes.tsv random-rows.tsv second.NET second.NED
    expect 0 '' "random network $network, its rows exported"
    { cmp first.NET second.NET && cmp first.NED second.NED && cmp first.NET random.NET; } >/dev/null ||
        fail "random network $network: the rows of --rows do not give the pair back"
    run de_DE.UTF-8 first.NET random-rows.tsv third.NET third.NED
    { cmp first.NET third.NET && cmp first.NED third.NED; } >/dev/null ||
        fail "random network $network: the saved demand data file as NODES changes the pair"
done

# In every region the locale data lists, the rows of --rows read back to the pair they came
# from, grouping symbol and all (a region whose grouping symbol would be its decimal symbol,
# such as wae_CH, takes none).
printf '   1    0.0    0.0           1234.500            0.125        10000.000   < A >\r\n   2    0.0    0.0              0.001         1000.000            2.500   < B >\r\n' >regions.NET
printf '0\r\n7\r\n7\r\n0\r\n' >regions.NED
while read -r locale _; do
    run "$locale" --rows regions.NET regions.NED region-nodes.tsv region-links.tsv &&
        run "$locale" region-nodes.tsv region-links.tsv region.NET region.NED
    [[ $status -eq 0 ]] && cmp -s region.NET regions.NET && cmp -s region.NED regions.NED ||
        fail "in $locale the rows do not read back: $(cat err)"
done < <(grep -v '^#' /usr/share/i18n/SUPPORTED 2>/dev/null || echo C.UTF-8)

# --import: a small file of each kind, from its content alone (whatever its name), to the
# distance lines it gives (shortest paths over its links) and the report; standard input too.
printf ' 3 3 5\n1 2 10 \n2\t3  5\n2 1 8\n' >pmed.dat
printf 'NAME : t\nTYPE: TSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 0 0\n2 3 4\n3 6 8.5\nEOF\n' >t.dat
printf ';A;B;C\r\nA;0;1,5;\r\nB;2;0;3\r\nC;;4;0\r\n' >square.dat
printf 'from,to,minutes\nDepot,Mill,4\nMill,Depot,5\nDepot,Yard,\nYard,Mill,2\n' >list.dat
printf '{"durations": [[0, 4.5, null],\n [5.1, 0, 2], [1, null, 0]],\n "distances": [[0, 1, 1], [1, 0, 1], [1, 1, 0]]}' >routes.dat
printf 'name,latitude,longitude,first demand\nOslo,59.91,10.75,3\nBergen,60.39,5.32,2\n' >sites.dat
while IFS='|' read -r file distances report args; do
    # shellcheck disable=SC2086  # args is a list of words
    run C.UTF-8 --import $args "$file" imported.NET imported.NED
    expect 0 "$report" "--import $file"
    [[ "$(tr -d '\r' <imported.NED | paste -sd ' ')" == "$distances" ]] ||
        fail "--import $file: distances $(tr -d '\r' <imported.NED | paste -sd ' '), not $distances"
done <<'CASES'
pmed.dat|0 8 13 8 0 5 13 5 0|pmed.dat: OR-Library p-median file: 3 nodes, 4 links, largest distance 8, scale 1$|
pmed.dat|0 16 26 16 0 10 26 10 0|p = 5 is not part of the network$|--scale 2
t.dat|0 5 10 5 0 5 10 5 0|t.dat: TSPLIB file \(TSP, EUC_2D\): 3 nodes, 6 links, largest distance 10, scale 1$|
square.dat|0 2 5 2 0 3 6 4 0|square table: 3 nodes, 4 links, largest distance 4, scale 1$|
list.dat|0 4 10000 5 0 10000 7 2 0|long list: 3 nodes, 3 links|
routes.dat|0 5 7 3 0 2 1 6 0|routing table \(durations\): 3 nodes, 4 links, largest distance 5|--value durations
routes.dat|0 1 1 1 0 1 1 1 0|routing table \(distances\)|--value=distances
sites.dat|0 305 305 0|sites on the globe \(latitude, longitude\): 2 nodes, 2 links, largest distance 305|
CASES
grep -q '^   1    0.0    0.0              3.000            0.000            0.000   < Oslo >'$'\r''$' imported.NET ||
    fail "--import: the sites' names and first demands are not in the demand data file"
env -i LC_ALL=C.UTF-8 "$program" --import - std.NET - <square.dat >std.NED 2>err
status=$?
expect 0 '^meshloom-export: standard input: square table' "--import from standard input"
[[ "$(tr -d '\r' <std.NED | paste -sd ' ')" == "0 2 5 2 0 3 6 4 0" ]] || fail "--import -: wrong distances"
run C.UTF-8 --import --picture imported.svg t.dat imported.NET imported.NED
[[ $status -eq 0 && $(grep -c '<g class="node" data-node=' imported.svg) -eq 3 ]] ||
    fail "--import --picture: no picture of the three nodes"
run C.UTF-8 --import --require-connected list.dat strict.NET strict.NED
expect 3 'nothing written' "--import, not connected, with --require-connected"

# --import refused: nothing written, status 1 (64 for a wrong use), the file, line, cell, why.
printf ';A;B\nA;0;-4\nB;1;0\n' >negative.dat
printf 'from,to,cost\nA,B,1\nB,A,2\nA,B,3\n' >twice.dat
printf 'TYPE : TSP\nDIMENSION : 2\nEDGE_WEIGHT_TYPE : GEO\nNODE_COORD_SECTION\n1 0 0\n2 0 179.59\nEOF\n' >far.dat
printf 'name,x,y\n\316\251 Hub,0,0\nB,1,1\n' >omega.dat
head -c 33554433 /dev/zero | tr '\0' ' ' >huge.dat
while IFS='|' read -r status_wanted pattern case args; do
    rm -f none.NET none.NED
    # shellcheck disable=SC2086  # args is a list of words
    run C.UTF-8 --import $args none.NET none.NED </dev/null
    expect "$status_wanted" "$pattern" "--import: $case"
    [[ ! -e none.NET && ! -e none.NED ]] || fail "a file was written (--import: $case)"
done <<'CASES'
1|^meshloom-export: negative.dat: Line 2, cell 3: "-4" is negative; a distance is 0 or more$|a negative distance|negative.dat
1|^meshloom-export: twice.dat: Line 4: the pair from "A" to "B" is listed twice, first on line 2$|a pair twice|twice.dat
1|^meshloom-export: far.dat: The distance from "1" to "2", 20037, is 20037 at a scale of 1, more than 10000; every distance fits at a scale of 0.4991 or less.$|too far|far.dat
1|^meshloom-export: omega.dat: Line 2, cell 1: the name holds "Ω" \(U\+03A9\), which a demand data file cannot hold$|a name without bytes|omega.dat
1|^meshloom-export: routes.dat: The table holds both "durations" and "distances"; --value durations or --value distances chooses one.$|both arrays|routes.dat
1|^meshloom-export: huge.dat: It is larger than 33554432 bytes|too large|huge.dat
1|^meshloom-export: standard input: The file is empty.$|nothing on standard input|-
66|^meshloom-export: missing.dat: No such file or directory|no such file|missing.dat
64|^meshloom-export: invalid scale '0': a number above 0$|a scale of 0|--scale 0 far.dat
64|^meshloom-export: invalid scale '1,5': a number above 0$|a decimal comma|--scale 1,5 far.dat
64|^meshloom-export: invalid value 'speed': durations or distances$|an unknown array|--value speed routes.dat
64|^meshloom-export: --decimal does not go with --import$|--decimal|--decimal , far.dat
64|^meshloom-export: extra operand 'none.NED'$|four operands|far.dat x
CASES
run C.UTF-8 --scale 2 nodes.tsv links.tsv x.NET x.NED
expect 64 '^meshloom-export: --scale goes only with --import$' "--scale without --import"
run C.UTF-8 --import far.dat far.dat x.NED
expect 64 '^meshloom-export: DEMAND_FILE far.dat would replace FILE far.dat, which is read$' "--import over its own file"
run C.UTF-8 --import --scale 0.4991 far.dat far.NET far.NED
expect 0 'largest distance 10000, scale 0.4991$' "--import at the largest scale said"

run C.UTF-8 --version
expect 0 "^meshloom-export \(MESHLOOM\) $version$" "--version"

[[ $failures -eq 0 ]] && echo "meshloom-export: all cases passed"
exit $((failures > 0))
