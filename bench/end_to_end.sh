#!/usr/bin/env bash
# What a user waits for, end to end, on the benchmark's generated inputs
# written to disk (a temporary folder, removed afterwards):
#
#   tessil extract on the 64 MiB attachment, against cp --reflink=never of
#   the same file (page cache warm, the same disk); tessil info --json on the
#   8 MiB RTF body; tessil extract on the 321 KB real sample; the viewer's
#   first paint, body and longest event-loop stall on the large files, from
#   its log.
#
# usage: bench/end_to_end.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  a release build (RelWithDebInfo), default build/
#   RUNS       paired runs per command line measurement, default 15
#   VIEW_RUNS  (environment) opens per file in the viewer, default 3; 0 skips it
#
# Prints medians of paired runs and their ratios; peaks are the largest
# resident size of the process (GNU time's %M, the kernel's VmHWM).
set -euo pipefail
export LC_ALL=C # one decimal point for the clock and the figures

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-15}
tessil="$build/bin/tessil"
viewer="$build/bin/quorvia"
sample="$root/../shared/testdata/real/bug52400-winmail-with-attachments.dat"

for tool in "$tessil" "$viewer" "$build/bin/quorvia_bench"; do
    [ -x "$tool" ] || { echo "error: $tool is missing; build $build first" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "error: GNU time (/usr/bin/time, package 'time') is needed for peaks" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvia-end-to-end-XXXXXX")
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/in" "$work/out" "$work/home"
"$build/bin/quorvia_bench" --write-inputs "$work/in" >/dev/null
large="$work/in/one-64mib.tnef"
rtf="$work/in/rtf-8mib.tnef"

# Times come from bash's own clock, $EPOCHREALTIME (microseconds): reading
# it starts no process, so what is timed is the command and not the clock.

calc() { awk "BEGIN { printf \"%.3f\\n\", $1 }"; }

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Milliseconds of one run of the command, output discarded.
run_ms() {
    local start=$EPOCHREALTIME end
    "$@" >/dev/null 2>&1
    end=$EPOCHREALTIME
    calc "(${end/./} - ${start/./}) / 1e3"
}

# Peak resident MiB of one run.
peak_mib() {
    /usr/bin/time -f "%M" -o "$work/peak" "$@" >/dev/null 2>&1
    calc "$(tail -1 "$work/peak") / 1024"
}

fresh_out() { rm -rf "$work/out" && mkdir -p "$work/out"; }

# Warm the page cache and the binaries.
cat "$large" "$rtf" >/dev/null
fresh_out; "$tessil" extract -o "$work/out" "$large" >/dev/null

echo "End-to-end, $runs paired runs each, medians (build: $build)"

: >"$work/cp" ; : >"$work/extract"
for _ in $(seq "$runs"); do
    rm -f "$work/copy"
    run_ms cp --reflink=never "$large" "$work/copy" >>"$work/cp"
    fresh_out
    run_ms "$tessil" extract -o "$work/out" "$large" >>"$work/extract"
done
cp_ms=$(median <"$work/cp")
extract_ms=$(median <"$work/extract")
fresh_out
extract_peak=$(peak_mib "$tessil" extract -o "$work/out" "$large")
file_mib=$(calc "$(stat -c %s "$large") / 1048576")
printf 'tessil extract, 64 MiB attachment: %.1f ms; cp --reflink=never: %.1f ms; ratio %.2f (target <= 2); peak %.1f MiB = %.2f x the %.1f MiB file (target < 1.5)\n' \
    "$extract_ms" "$cp_ms" "$(calc "$extract_ms / $cp_ms")" "$extract_peak" \
    "$(calc "$extract_peak / $file_mib")" "$file_mib"

: >"$work/info"
for _ in $(seq "$runs"); do
    run_ms "$tessil" info --json "$rtf" >>"$work/info"
done
info_peak=$(peak_mib "$tessil" info --json "$rtf")
printf 'tessil info --json, 8 MiB RTF body (%.1f MB file): %.1f ms (target < 600); peak %.1f MiB (target < 200)\n' \
    "$(calc "$(stat -c %s "$rtf") / 1e6")" "$(median <"$work/info")" "$info_peak"

if [ -f "$sample" ]; then
    : >"$work/small" ; : >"$work/version"
    for _ in $(seq "$runs"); do
        fresh_out
        run_ms "$tessil" extract -o "$work/out" "$sample" >>"$work/small"
        run_ms "$tessil" --version >>"$work/version"
    done
    printf 'tessil extract, %s (%d KB): %.1f ms (target < 6), of which start-up (tessil --version) %.1f ms\n' \
        "$(basename "$sample")" "$(($(stat -c %s "$sample") / 1000))" "$(median <"$work/small")" "$(median <"$work/version")"
else
    echo "tessil extract on the real sample: skipped, $sample is absent"
fi

view_runs=${VIEW_RUNS:-3}
[ "$view_runs" -gt 0 ] || exit 0

# The viewer, on a virtual display when there is none, with a home of its
# own (its log, no recent files) and a private temporary folder (no hand-over
# to a viewer the user runs).
display_env=()
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
    number=99
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
    Xvfb ":$number" -screen 0 1280x860x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
    display_env=(DISPLAY=":$number" QT_QPA_PLATFORM=xcb)
elif [ -z "${DISPLAY:-}" ]; then
    display_env=(QT_QPA_PLATFORM=offscreen)
fi

# One open of FILE; prints "painted body stall peak" (ms from launch to the
# painted header and tiles, ms from the open to the body, ms, MiB).
view_once() {
    local file=$1 name log start pid line painted_at body stall peak
    name=$(basename "$file")
    rm -rf "$work/home" && mkdir -p "$work/home/tmp"
    start=$EPOCHREALTIME
    env "${display_env[@]}" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
        XDG_DATA_HOME="$work/home/.local/share" TMPDIR="$work/home/tmp" "$viewer" "$file" >/dev/null 2>&1 &
    pid=$!
    log=""
    for _ in $(seq 1200); do
        log=$(find "$work/home" -name '*.log' 2>/dev/null | head -1)
        if [ -n "$log" ] && grep -q "Open of \"$name\": longest event-loop stall" "$log"; then
            break
        fi
        sleep 0.05
    done
    peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status" 2>/dev/null || echo "?")
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    line=$(grep "Open of \"$name\": header and attachments painted" "$log" | tail -1)
    painted_at=$(date -d "$(echo "$line" | cut -c1-23)" +%s%N)
    body=$(grep "Open of \"$name\": \(body shown\|no body\)" "$log" | tail -1 | sed 's/.*after \([0-9]*\) ms.*/\1/')
    stall=$(grep "Open of \"$name\": longest event-loop stall" "$log" | tail -1 | sed 's/.*stall \([0-9]*\) ms.*/\1/')
    echo "$(( (painted_at / 1000 - ${start/./}) / 1000 )) $body $stall $peak"
}

for file in "$rtf" "$large" "$sample"; do
    [ -f "$file" ] || continue
    : >"$work/view"
    for _ in $(seq "$view_runs"); do view_once "$file" >>"$work/view"; done
    printf 'viewer, %s: header and tiles painted %s ms after launch; body shown %s ms after the open began; longest event-loop stall %s ms; peak %s MiB (medians of %d)\n' \
        "$(basename "$file")" "$(cut -d' ' -f1 "$work/view" | median)" "$(cut -d' ' -f2 "$work/view" | median)" \
        "$(cut -d' ' -f3 "$work/view" | median)" "$(cut -d' ' -f4 "$work/view" | median)" "$view_runs"
done
