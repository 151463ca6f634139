#pragma once

// Writes TNEF streams straight to a file for the benchmarks, so that inputs
// of many megabytes are never held in memory whole. (The tests build their
// streams with tests/support/tnef_writer.h, which needs QtTest.)

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

class TnefStreamWriter
{
public:
    // Opens `path` for writing and writes the signature and the key.
    explicit TnefStreamWriter(const std::string& path);
    ~TnefStreamWriter();
    TnefStreamWriter(const TnefStreamWriter&) = delete;
    TnefStreamWriter& operator=(const TnefStreamWriter&) = delete;

    // One attribute record from bytes in memory.
    void attribute(std::uint8_t level, std::uint16_t id, std::uint16_t type, std::string_view data);
    // One attribute record of `length` bytes that `fill` produces in pieces:
    // it is called with a buffer and the number of bytes to put there.
    void attribute(std::uint8_t level, std::uint16_t id, std::uint16_t type, std::uint64_t length,
                   const std::function<void(unsigned char*, size_t)>& fill);

    // Closes the file; returns its size.
    std::uint64_t finish();

    // A property block holding the given properties, each already encoded.
    static std::string block(const std::vector<std::string>& properties);
    // Encoded properties.
    static std::string int32Property(std::uint16_t id, std::uint32_t value);
    static std::string string8Property(std::uint16_t id, std::string_view text);
    static std::string binaryProperty(std::uint16_t id, std::string_view bytes);

private:
    void put(const void* bytes, size_t n);

    FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

// Deterministic pseudo-random bytes, fast enough for gigabytes.
void fillPseudoRandom(unsigned char* out, size_t n, std::uint64_t& state);

} // namespace bench
