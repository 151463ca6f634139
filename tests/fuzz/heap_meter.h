#pragma once

// Peak heap of one call, counted through the sanitizer allocator's hooks (the
// test build runs under AddressSanitizer): every malloc, new and realloc of
// the process, Qt's and ICU's included. Without a sanitizer there is nothing
// to count with and available() is false.

#include <cstddef>

namespace heapmeter {

bool available();

// Starts a measurement; the peak is taken above the bytes live now.
void start();

// Highest number of bytes live above the starting level since start().
std::size_t peak();

} // namespace heapmeter
