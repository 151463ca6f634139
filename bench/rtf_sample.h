#pragma once

// Generated RTF shaped like what mail clients write (font and colour tables,
// many short formatted paragraphs), for benchmarks that need realistic RTF
// of a given size.

#include <cstddef>
#include <cstdint>
#include <string>

namespace bench {

// The pseudo-random choices and the vocabulary of the generated bodies: the
// same seed gives the same document on every machine.
class SampleRandom
{
public:
    explicit SampleRandom(std::uint32_t seed) : state_(seed) {}

    // A number below `bound`.
    std::uint32_t next(std::uint32_t bound)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

    // A word of ordinary business mail.
    const char* word();

private:
    std::uint32_t state_;
};

// At least `bytes` bytes of RTF, the same for the same arguments.
std::string sampleRtf(std::size_t bytes, unsigned seed = 1);

} // namespace bench
