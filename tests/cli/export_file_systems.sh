#!/usr/bin/env bash
# meshloom-export on the file systems a planner saves to, mounted here for real as root: exFAT
# through FUSE (a USB stick; no rename without replace, no hard links, names folded in case),
# NTFS through ntfs-3g, ext4 with case folding where the kernel has it, and one folder under two
# names (a bind mount). New files are saved, an existing one replaced, and two names that the
# folder takes as one are refused with nothing written. The identity rule's property test runs
# on the folder that folds. Skipped (77) without root, /dev/fuse, loop devices or the tools.
#
#   export_file_systems.sh MESHLOOM-EXPORT TST-FILE-IDENTITY WORK-DIR
set -uo pipefail
export LC_ALL=C.UTF-8
program="$1" identity_test="$2" work="$3"
skip() { echo "SKIPPED: $*"; exit 77; }
[[ $(id -u) -eq 0 ]] || skip "needs root to mount file systems"
[[ -c /dev/fuse ]] || skip "needs /dev/fuse"
command -v losetup >/dev/null && losetup -f >/dev/null 2>&1 || skip "needs a free loop device"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0 mounted=() loops=()
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
cleanup() {
    local point loop
    for point in "${mounted[@]}"; do umount "$point" 2>/dev/null || umount -l "$point"; done
    for loop in "${loops[@]}"; do losetup -d "$loop"; done
}
trap cleanup EXIT
printf 'A\t1\t2\t3\nB\t4\t5\t6\n' >nodes.tsv
printf 'A\tB\t5\nB\tA\t7\n' >links.tsv
"$program" nodes.tsv links.tsv plain.NET plain.NED || fail "the pair on the work folder"

# mount_image NAME SIZE MKFS MOUNT...: a fresh image of SIZE made by MKFS, on a loop device,
# mounted at $work/NAME by MOUNT (the device and the folder appended); false where it cannot be.
mount_image() {
    local name="$1" size="$2" mkfs="$3" loop
    shift 3
    truncate -s "$size" "$name.img" && $mkfs "$name.img" >/dev/null 2>&1 || return 1
    loop=$(losetup -f --show "$name.img") || return 1
    loops+=("$loop") && mkdir -p "$name"
    "$@" "$loop" "$work/$name" >/dev/null 2>&1 || return 1
    mounted=("$work/$name" "${mounted[@]}")
}

# The cases on a folder: new pair, replaced pair, and for a folder that folds case, the two
# spellings of one name refused, whether one is there or neither.
cases_on() {
    local folder="$1" folds="$2"
    (
        cd "$folder" || exit 1
        "$program" "$work/nodes.tsv" "$work/links.tsv" new.NET new.NED 2>err ||
            echo "a new pair is not saved: $(cat err)"
        cmp -s new.NET "$work/plain.NET" && cmp -s new.NED "$work/plain.NED" || echo "the new pair differs"
        echo earlier >new.NED
        "$program" "$work/nodes.tsv" "$work/links.tsv" new.NET new.NED 2>err && cmp -s new.NED "$work/plain.NED" ||
            echo "an existing pair is not replaced: $(cat err)"
        [[ $folds == yes ]] || exit 0
        rm -f a.NET && cp "$work/plain.NET" a.NET
        "$program" "$work/nodes.tsv" "$work/links.tsv" a.NET A.net 2>err
        [[ $? -eq 64 ]] && cmp -s a.NET "$work/plain.NET" && grep -q 'are one file' err ||
            echo "a.NET there and A.net: not refused, or a.NET changed: $(cat err)"
        "$program" "$work/nodes.tsv" "$work/links.tsv" b.NET B.net 2>err
        [[ $? -eq 64 && ! -e b.NET ]] || echo "b.NET and B.net, both free: not refused: $(cat err)"
        [[ -z $(find . -name '.*' ! -name . ! -name .. ! -name '.Trash*') ]] || echo "a file was left behind: $(ls -a)"
    ) >"$work/problems" 2>&1
    [[ -s "$work/problems" ]] && fail "$folder: $(cat "$work/problems")"
    echo "$folder: cases run (folds case: $folds)"
}

if command -v mkfs.exfat >/dev/null && command -v mount.exfat-fuse >/dev/null; then
    if mount_image exfat 64M mkfs.exfat mount.exfat-fuse; then
        cases_on "$work/exfat" yes
        MESHLOOM_FOLDING_FOLDER="$work/exfat" "$identity_test" >identity.log 2>&1 ||
            fail "the identity rule on exFAT: $(grep -A8 Failure identity.log | head -40)"
    else
        fail "exFAT could not be mounted through FUSE"
    fi
else
    echo "SKIPPED exFAT: needs exfatprogs and exfat-fuse"
fi
if command -v mkntfs >/dev/null && command -v ntfs-3g >/dev/null; then
    if mount_image ntfs 16M "mkntfs -F -q -f" ntfs-3g; then
        cases_on "$work/ntfs" no
    else
        fail "NTFS could not be mounted through ntfs-3g"
    fi
else
    echo "SKIPPED NTFS: needs ntfs-3g"
fi
# ext4 folds case only in folders marked so, and only where the kernel has Unicode tables.
if mount_image casefold 32M "mkfs.ext4 -q -O casefold" mount && mkdir casefold/f && chattr +F casefold/f 2>/dev/null; then
    cases_on "$work/casefold/f" yes
else
    echo "SKIPPED ext4 with case folding: this kernel cannot mount it"
fi

# One folder under two names: a free name in each is one file.
mkdir -p one two && mount --bind one two && mounted=("$work/two" "${mounted[@]}")
"$program" nodes.tsv links.tsv one/x.NET two/x.NET 2>err
[[ $? -eq 64 && ! -e one/x.NET ]] && grep -q 'are one file' err || fail "a bind mount: $(cat err)"

[[ $failures -eq 0 ]] && echo "export_file_systems: all cases passed"
exit $((failures > 0))
