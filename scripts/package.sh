#!/usr/bin/env bash
# Installs what is missing, builds a Release build into build/ and makes the Debian package
# there, build/meshloom_<version>_<architecture>.deb. Its library dependencies are worked out
# from the built program (dpkg-shlibdeps, from dpkg-dev; CPack needs file too). Then Debian's
# own checker, lintian, reads the package: any error fails the script, warnings are shown.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages build package
build_preset release
cd "$ROOT/build"
cpack -G DEB
package=$(ls -t "$ROOT"/build/meshloom_*.deb | head -n 1)
echo "== lintian $package"
# lintian refuses to run as root unless told that it may.
lintian --allow-root --fail-on error --display-info "$package"
echo "== lintian found no error"
