#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a while on its kept corpus plus fresh seeds. Fails on any
# finding: crash, leak, undefined behaviour, timeout, out-of-memory, or an
# entry point that held more memory than its budget (see fuzz/README.md).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default 60 s each, every target
#
# Targets: tnef_stream mapi_properties compressed_rtf compound_file
#          rtf_to_html body_text message encapsulated_body msg
# Environment: QUORVIA_FUZZ_BUILD_DIR (default fuzz/build), JOBS.
# New inputs go to the build folder; fuzz/corpus/ is only read.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
quorvia_install_deps clang libclang-rt-14-dev

seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(tnef_stream mapi_properties compressed_rtf compound_file rtf_to_html body_text message encapsulated_body msg)
fi

build=${QUORVIA_FUZZ_BUILD_DIR:-fuzz/build}
jobs=${JOBS:-$(nproc)}
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"
rm -rf "$build/seeds"
"$build/fuzz_seeds" "$build/seeds"

dictionary_of() {
    case "$1" in
        tnef_stream) echo fuzz/dict/tnef.dict ;;
        mapi_properties) echo fuzz/dict/mapi.dict ;;
        compressed_rtf) echo fuzz/dict/lzfu.dict ;;
        compound_file) echo fuzz/dict/cfb.dict ;;
        rtf_to_html) echo fuzz/dict/rtf.dict ;;
        body_text) echo fuzz/dict/html.dict ;;
        encapsulated_body) echo fuzz/dict/encapsulated.dict ;;
        msg)
            cat fuzz/dict/cfb.dict fuzz/dict/msg.dict > "$build/msg.dict"
            echo "$build/msg.dict" ;;
        message)
            # The message path meets every format; libFuzzer takes one file.
            cat fuzz/dict/tnef.dict fuzz/dict/msg.dict fuzz/dict/html.dict fuzz/dict/rtf.dict > "$build/message.dict"
            echo "$build/message.dict" ;;
        *) echo "unknown fuzz target: $1" >&2; return 1 ;;
    esac
}

# A smaller quarantine keeps the resident size of a long run well under the
# 512 MB limit, so that only inputs, not ASan's bookkeeping, can reach it.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:allocator_may_return_null=1:quarantine_size_mb=64"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

failed=()
for target in "${targets[@]}"; do
    dictionary=$(dictionary_of "$target")
    work="$build/work/$target"
    findings="$build/findings/$target"
    mkdir -p "$work" "$findings" fuzz/corpus/"$target"
    log="$build/fuzz_$target.log"
    echo "== fuzz_$target for ${seconds}s (log: $log)"
    if "$build/fuzz_$target" "$work" "fuzz/corpus/$target" "$build/seeds/$target" \
        -dict="$dictionary" -max_total_time="$seconds" -rss_limit_mb=512 -malloc_limit_mb=128 -timeout=2 \
        -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1; then
        grep -E '^#[0-9]+ +DONE' "$log" | tail -1 || true
        grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec' "$log" || true
    else
        echo "FINDING in fuzz_$target:" >&2
        grep -E -A30 '==ERROR|==ALLOCATION|runtime error|ALARM|out-of-memory|Test unit written' "$log" | head -60 >&2 || tail -40 "$log" >&2
        failed+=("$target")
    fi
done

echo "fuzz: $(( ${#targets[@]} - ${#failed[@]} )) passed, ${#failed[@]} failed"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found problems in: ${failed[*]} (inputs under $build/findings/)" >&2
    exit 1
fi
