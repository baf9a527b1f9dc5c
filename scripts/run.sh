#!/usr/bin/env bash
# Installs what MESHLOOM needs, builds a Release build into build/ and starts the program.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages build
build_preset release
restore_caller_locale
exec "$ROOT/build/src/meshloom"
