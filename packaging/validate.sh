#!/usr/bin/env bash
# Runs a validator of the desktop's on a file of the package, or fails naming the Debian
# package that brings the validator when it is missing.
#
#   validate.sh DEBIAN-PACKAGE COMMAND [ARGUMENT...]
set -euo pipefail
export LC_ALL=C.UTF-8
package="$1" command="$2"
shift
if ! command -v "$command" >/dev/null; then
    echo "FAILED: $command is missing; install the Debian package $package (scripts/test.sh does)" >&2
    exit 1
fi
# MESHLOOM has no public web site, so its metainfo names no homepage. AppStream validators
# that check for one (Debian 13's) warn with url-homepage-missing, and a warning fails the
# validation; that one check is lowered to a note, all others keep their weight. Older
# validators (Debian 12's) do not check it and refuse to hear of the tag, so it is given only
# to a validator that knows it.
if [[ "$command" == appstreamcli && "${1:-}" == appstreamcli && "${2:-}" == validate ]]; then
    homepage=--override=url-homepage-missing=info
    probe=$(appstreamcli validate --no-net "$homepage" /dev/null 2>&1 || true)
    if [[ "$probe" != *"not recognized"* ]]; then
        set -- "$1" "$2" "$homepage" "${@:3}"
    fi
fi
exec "$@"
