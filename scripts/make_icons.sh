#!/usr/bin/env bash
# Regenerates the program's artwork under main/img/, and the desktop icons
# under packaging/icons/, from the drawings in main/img-src/. The results are
# committed, so an ordinary build needs none of the tools used here; run this
# only after changing a drawing.
#
#   scripts/make_icons.sh
#
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert (imagemagick);
# installs them with apt-get when missing, as root or through sudo.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
src="$root/main/img-src"
out="$root/main/img"
desktop_icons="$root/packaging/icons"

install_tools() {
    local missing=()
    command -v rsvg-convert >/dev/null 2>&1 || missing+=(librsvg2-bin)
    command -v convert >/dev/null 2>&1 || missing+=(imagemagick)
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "error: need ${missing[*]}, and neither root nor sudo is available" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq >/dev/null
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# render SVG SIZE OUTPUT: a square PNG with its alpha channel kept.
render() {
    rsvg-convert --width "$2" --height "$2" --keep-aspect-ratio --format png \
        --output "$3" "$src/$1"
}

install_tools
mkdir -p "$out/icons"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Title-bar buttons (the close cross doubles as the tab's close button): the
# 32 px file is the high-DPI twin of the 16 px one, drawn from the same source.
for name in menu mini max restore close; do
    render "$name.svg" 16 "$out/$name-16.png"
    render "$name.svg" 32 "$out/$name-32.png"
done

# Leading icon of the search box.
render search.svg 16 "$out/search.png"
render search.svg 32 "$out/search-32.png"

# The empty page's picture; the program asks for it by this name.
render add-document.svg 100 "$out/icons8-document-100.png"

# Program icon. Small sizes come from drawings made for their pixel grid; the
# large drawing would blur its clip and text lines away below 48 px.
render tessil_icon-16.svg 16 "$work/icon-16.png"
render tessil_icon-32.svg 24 "$work/icon-24.png"
render tessil_icon-32.svg 32 "$work/icon-32.png"
for size in 48 64 128 256; do
    render tessil_icon.svg "$size" "$work/icon-$size.png"
done
cp "$work/icon-256.png" "$out/icons/tessil_icon.png"
convert "$work"/icon-{16,24,32,48,64,128,256}.png "$out/icons/tessil_icon.ico"

# The hicolor sizes for the desktop, from the same drawings (22 px, like 24,
# from the one made for 32); the scalable icon is tessil_icon.svg itself.
render tessil_icon-32.svg 22 "$work/icon-22.png"
mkdir -p "$desktop_icons"
for size in 16 22 24 32 48 64 128 256; do
    cp "$work/icon-$size.png" "$desktop_icons/quorvia-$size.png"
done

echo "Artwork written to $out and $desktop_icons:"
(cd "$root" && find main/img packaging/icons -type f \( -name '*.png' -o -name '*.ico' \) | sort | sed 's|^|  |')
