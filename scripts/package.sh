#!/usr/bin/env bash
# Builds the Debian package of Quorvia in its own release tree and prints its
# path:
#
#   scripts/package.sh            -> build-package/quorvia_<version>_<arch>.deb
#   sudo apt-get install ./build-package/quorvia_*.deb
#
# Installs the Debian packages it needs (as root, or through sudo). The
# package's Depends are computed from the programs it holds; see
# packaging/package.cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
quorvia_install_deps "${QUORVIA_PACKAGE_PACKAGES[@]}"

BUILD_DIR=${QUORVIA_PACKAGE_BUILD_DIR:-build-package}
JOBS=${JOBS:-$(nproc)}

# A tree of its own: never the sanitizer build of the tests, never the tests.
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DQUORVIA_SANITIZE=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS"
rm -f "$BUILD_DIR"/quorvia_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
package=$(ls "$BUILD_DIR"/quorvia_*.deb)
echo "Package: $package"
dpkg-deb -f "$package" Depends | sed 's/^/Depends: /'
