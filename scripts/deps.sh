#!/usr/bin/env bash
# Installs the Debian packages the build needs, and nothing when they are all present.
# Sourced by run.sh, test.sh and scripts/package.sh; usage: quorvia_install_deps [extra packages...]

# Beyond the build, the tests run the desktop's validators on the installed
# desktop entry and metainfo, build the MIME database with the package's own
# type definitions, and build the Debian package, whose dependencies
# dpkg-shlibdeps computes with the help of file. The PDF export's test reads
# the PDF back with pdftotext (poppler-utils), in a font that is always there.
QUORVIA_TEST_PACKAGES=(desktop-file-utils appstream dpkg-dev file shared-mime-info poppler-utils fonts-dejavu-core)
# Building the package: dpkg-shlibdeps (dpkg-dev) and file.
QUORVIA_PACKAGE_PACKAGES=(dpkg-dev file)

quorvia_install_deps() {
    local packages=(
        cmake ninja-build g++ pkg-config
        qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
        qt6-translations-l10n libgl-dev
        libpugixml-dev libicu-dev
        "$@"
    )
    local missing=()
    local p
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "error: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
            return 1
        fi
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq >/dev/null || return 1
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}
