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
exec "$@"
