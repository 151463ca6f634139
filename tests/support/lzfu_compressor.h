#pragma once

// Builds PidTagRtfCompressed values for fixtures and benchmarks: a real
// compressor ("LZFu", a greedy LZ77 over the 4096-byte ring with its initial
// dictionary) and the stored form ("MELA"). Plain C++ with no Qt, so that
// programs without QtTest can compile it in.
//
//   std::string value = lzfu::compress("{\\rtf1\\ansi hello}");
//   // value = 16-byte header (COMPSIZE, RAWSIZE, "LZFu", CRC) + stream
//
// The output ends on the end-marker reference and carries a correct CRC.

#include <cstdint>
#include <string>
#include <string_view>

namespace lzfu {

constexpr std::uint32_t kCompressed = 0x75465A4C;    // "LZFu"
constexpr std::uint32_t kUncompressed = 0x414C454D;  // "MELA"

// The complete value for `rtf`, compressed.
std::string compress(std::string_view rtf);

// The complete value for `rtf`, stored uncompressed ("MELA", CRC 0).
std::string store(std::string_view rtf);

// Only the compressed stream (what follows the header).
std::string compressStream(std::string_view rtf);

// A value made of a header and any payload, for hand-made or damaged streams:
// COMPSIZE = payload size + 12 and the CRC computed over the payload.
std::string wrap(std::string_view payload, std::uint32_t rawSize, std::uint32_t compType = kCompressed);

// The CRC used in the header (reflected CRC-32, no pre- or post-inversion).
std::uint32_t crc(std::string_view bytes);

} // namespace lzfu
