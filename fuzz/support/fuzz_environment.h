#pragma once

// Set-up shared by the fuzz targets: a quiet decoder, a quiet Qt, and for
// the targets that reach Qt's rich-text engine an offscreen QGuiApplication.

#include <cstddef>
#include <cstdint>

namespace fuzzenv {

// Silences the decoder's trace lines and Qt's log (millions of runs would
// otherwise spend their time writing), installs the allocation meter and,
// when `gui` is set, creates the application object on the offscreen platform.
void initialise(bool gui);

// Little-endian u32 at the start of `data` (0 when fewer than 4 bytes).
std::uint32_t leadingWord(const std::uint8_t* data, std::size_t size);

// Reads every byte a length promises, so that a lying length shows up as a
// heap overflow here rather than somewhere in the viewer; a null buffer with
// a length aborts.
void touch(const unsigned char* data, std::uint64_t length);

} // namespace fuzzenv
