#pragma once

// Measures how much heap an entry point holds at its peak while it runs, so
// that every fuzz input also checks the promise that no input makes the
// decoder allocate more than a small multiple of its own size.
//
// Counts through the sanitizer allocator's hooks, which see every malloc,
// new and realloc of the process (Qt's and ICU's included), so the figure is
// what the call really costs, not what our code thinks it asked for.

#include <cstddef>
#include <cstdint>

namespace fuzzmeter {

// Installs the hooks; call once, before the first measurement.
void install();

// Starts a measurement: the peak is taken relative to the bytes live now.
void start();

// Highest number of bytes live above the starting level since start().
std::size_t peak();

// The promise of one entry point: at most `perByte` times the input's size
// plus `fixed` bytes (the fixed part covers tables such as the compressed-RTF
// ring or a parser's first block, which even an empty input needs).
struct Budget
{
    const char* entry;
    std::size_t perByte;
    std::size_t fixed;
};

// Ends a measurement: aborts with a report when the peak broke the budget,
// so libFuzzer keeps the input as a finding. Also records the worst ratio
// seen, printed at exit when QUORVIA_FUZZ_REPORT is set.
void check(const Budget& budget, std::size_t inputSize);

} // namespace fuzzmeter
