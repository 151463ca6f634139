#!/usr/bin/env bash
# Brings every Translation_xx.ts up to date with the texts in the program's
# sources: the host (main/) and the message viewer (tessil_plugin/viewer/,
# and the size units of the information line it shares with tessil in
# tessil_plugin/message/info_line.cpp), whose texts load through the host's
# translator. New texts arrive unfinished
# and must be translated before the tests pass; texts gone from the sources
# are dropped.
#
#   main/translations/update_translations.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

lupdate=${LUPDATE:-}
if [ -z "$lupdate" ]; then
    for candidate in lupdate /usr/lib/qt6/bin/lupdate /usr/lib/qt6/libexec/lupdate; do
        if command -v "$candidate" >/dev/null 2>&1; then
            lupdate=$candidate
            break
        fi
    done
fi
[ -n "$lupdate" ] || { echo "error: lupdate not found (package qt6-l10n-tools)" >&2; exit 1; }

sources=(main)
[ -d tessil_plugin/viewer ] && sources+=(tessil_plugin/viewer)
[ -f tessil_plugin/message/info_line.cpp ] && sources+=(tessil_plugin/message/info_line.cpp)

for language in en fr pt it de es ja; do
    "$lupdate" -silent -no-obsolete -locations none -source-language en -target-language "$language" \
        "${sources[@]}" -ts "main/translations/Translation_$language.ts"
done
