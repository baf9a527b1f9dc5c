#!/usr/bin/env bash
# Holds the source tree to its layers (docs/ARCHITECTURE.md): each room of src/ (a folder that
# holds source files, such as core/numbers/ or shell/) includes only itself and the rooms
# below it, so the include graph has no cycle; no room holds more than 12 source files; the
# rooms that run without a display include no Qt header; and every member of a class is
# defined beside the header that declares the class (same folder, same file name).
#
#   check_layers.sh SRC-DIR
set -uo pipefail
src="${1:?usage: check_layers.sh SRC-DIR}"
status=0
fail() {
    echo "$*" >&2
    status=1
}

# The rooms each room may include, itself first, lowest rooms first. Above the core, a room
# may include every room of the core, and a window every room of the platform.
core="core/rows core/file_texts core/lists core/network core/numbers"
platform="platform/widgets platform/services platform/application platform/dialogs"
declare -A allowed=(
    [core/numbers]="core/numbers"
    [core/network]="core/network core/numbers"
    [core/lists]="core/lists core/network core/numbers"
    [core/file_texts]="core/file_texts core/network core/numbers"
    [core/rows]="core/rows core/file_texts core/lists core/network core/numbers"
    [files]="files $core"
    [import]="import files $core"
    [layout]="layout $core"
    [drawing]="drawing layout $core"
    [platform/dialogs]="platform/dialogs $core"
    [platform/application]="platform/application platform/dialogs $core"
    [platform/widgets]="platform/widgets platform/application platform/dialogs $core"
    [platform/services]="platform/services platform/application platform/dialogs files $core"
    [shell]="shell $platform import files $core"
    [nodes]="nodes shell $platform import files $core"
    [picture]="picture $platform drawing layout import files $core"
    [links]="links picture shell $platform drawing layout import files $core"
    [app]="app links picture nodes shell $platform drawing layout import files $core"
    [cli]="cli drawing layout import files $core"
)
# The rooms that run where no display is: the core, the files' room, the import, the layout,
# the drawing and meshloom-export.
no_qt="$core files import layout drawing cli"
most_files=12

while IFS= read -r folder; do
    room=${folder#"$src"/}
    sources=$(find "$folder" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.cpp.in' \) | wc -l)
    [[ $sources -gt 0 ]] || continue
    if [[ -z "${allowed[$room]+set}" ]]; then
        fail "src/$room/ has no place in the layers; add it to this check and the table in docs/ARCHITECTURE.md"
        continue
    fi
    [[ $sources -le $most_files ]] ||
        fail "src/$room/ holds $sources source files; a room holds at most $most_files"
    while IFS=: read -r file line target; do
        target_room=$(dirname "$target")
        [[ " ${allowed[$room]} " == *" $target_room "* ]] ||
            fail "${file#"$src"/}:$line includes \"$target\": $room/ may include only ${allowed[$room]}"
    done < <(grep -Hno '^#include "[^"]*/[^"]*"' "$folder"/*.h "$folder"/*.cpp 2>/dev/null |
                 sed 's/#include "\(.*\)"$/\1/')
    if [[ " $no_qt " == *" $room "* ]]; then
        while IFS= read -r hit; do
            fail "${hit#"$src"/}: includes Qt, which $room/ may not"
        done < <(grep -Hn '^#include <Q' "$folder"/*.h "$folder"/*.cpp 2>/dev/null)
    fi
done < <(find "$src" -mindepth 1 -type d | sort)

# Where each class is declared: "class TName" followed by " :" or " {".
declare -A declared_in=()
while IFS=: read -r file text; do
    class=$(sed -E 's/^class ([A-Za-z0-9_]+).*/\1/' <<<"$text")
    declared_in[$class]=${file%.h}
done < <(find "$src" -name '*.h' -exec grep -HE '^class [A-Za-z0-9_]+( final)?( :| \{)' {} +)

# Every definition of a member at the start of a line: "... TName::Member(".
while IFS=: read -r file line text; do
    class=$(sed -E 's/^.*\b([A-Za-z0-9_]+)::~?[A-Za-z0-9_]+\(.*$/\1/' <<<"$text")
    [[ -n "${declared_in[$class]+set}" ]] || continue
    [[ "${file%.cpp}" == "${declared_in[$class]}" ]] ||
        fail "${file#"$src"/}:$line defines a member of $class, declared in ${declared_in[$class]#"$src"/}.h"
done < <(find "$src" -name '*.cpp' -exec grep -HnE '^[A-Za-z][^=(]*\b[A-Za-z0-9_]+::~?[A-Za-z0-9_]+\(' {} +)

[[ $status -eq 0 ]] && echo "The layers hold: no room includes one above it or holds more than $most_files source files, and every class is defined beside its header."
exit $status
