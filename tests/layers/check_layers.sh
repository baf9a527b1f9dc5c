#!/usr/bin/env bash
# Holds the source tree to its layers (docs/ARCHITECTURE.md): each folder of src/ includes
# only its own folder and the folders below it, so the include graph has no cycle; the core
# includes no Qt header; and every member of a class is defined beside the header that
# declares the class (same folder, same file name).
#
#   check_layers.sh SRC-DIR
set -uo pipefail
src="${1:?usage: check_layers.sh SRC-DIR}"
status=0
fail() {
    echo "$*" >&2
    status=1
}

# The folders each folder may include, itself first. The windows sit on platform/ and may
# reach the main menu in shell/; app/ (program start) reaches everything.
declare -A allowed=(
    [core]="core"
    [files]="files core"
    [layout]="layout core"
    [drawing]="drawing layout core"
    [platform]="platform files core"
    [shell]="shell platform files core"
    [nodes]="nodes shell platform files core"
    [picture]="picture platform drawing layout files core"
    [links]="links picture shell platform drawing layout files core"
    [app]="app links picture nodes shell platform drawing layout files core"
    [cli]="cli drawing layout files core"
)

for folder in "$src"/*/; do
    name=$(basename "$folder")
    if [[ -z "${allowed[$name]+set}" ]]; then
        fail "src/$name/ has no place in the layers; add it to this check and the table in docs/ARCHITECTURE.md"
        continue
    fi
    while IFS=: read -r file line target; do
        target_folder=${target%%/*}
        [[ " ${allowed[$name]} " == *" $target_folder "* ]] ||
            fail "${file#"$src"/}:$line includes \"$target\": $name/ may include only ${allowed[$name]}"
    done < <(grep -Hno '^#include "[^"]*/[^"]*"' "$folder"*.h "$folder"*.cpp 2>/dev/null |
                 sed 's/#include "\(.*\)"$/\1/')
done

# The core, the files' room, the layout and meshloom-export, which runs where no display is,
# include no Qt.
while IFS= read -r hit; do
    fail "${hit#"$src"/}: includes Qt, which core/, files/, layout/ and cli/ may not"
done < <(grep -Hn '^#include <Q' "$src"/core/* "$src"/files/* "$src"/layout/* "$src"/drawing/* "$src"/cli/* 2>/dev/null)

# Where each class is declared: "class TName" followed by " :" or " {".
declare -A declared_in=()
while IFS=: read -r file text; do
    class=$(sed -E 's/^class ([A-Za-z0-9_]+).*/\1/' <<<"$text")
    declared_in[$class]=${file%.h}
done < <(grep -HE '^class [A-Za-z0-9_]+( final)?( :| \{)' "$src"/*/*.h)

# Every definition of a member at the start of a line: "... TName::Member(".
while IFS=: read -r file line text; do
    class=$(sed -E 's/^.*\b([A-Za-z0-9_]+)::~?[A-Za-z0-9_]+\(.*$/\1/' <<<"$text")
    [[ -n "${declared_in[$class]+set}" ]] || continue
    [[ "${file%.cpp}" == "${declared_in[$class]}" ]] ||
        fail "${file#"$src"/}:$line defines a member of $class, declared in ${declared_in[$class]#"$src"/}.h"
done < <(grep -HnE '^[A-Za-z][^=(]*\b[A-Za-z0-9_]+::~?[A-Za-z0-9_]+\(' "$src"/*/*.cpp)

[[ $status -eq 0 ]] && echo "The layers hold: no folder includes one above it, and every class is defined beside its header."
exit $status
