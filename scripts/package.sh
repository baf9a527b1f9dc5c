#!/usr/bin/env bash
# Installs what is missing, builds a Release build into build/ and makes the Debian package
# there, build/meshloom_<version>_<architecture>.deb. Its library dependencies are worked out
# from the built program (dpkg-shlibdeps, from dpkg-dev; CPack needs file too).
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages build package
build_preset release
cd "$ROOT/build"
cpack -G DEB
