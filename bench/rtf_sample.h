#pragma once

// Generated RTF shaped like what mail clients write (font and colour tables,
// many short formatted paragraphs), for benchmarks that need realistic RTF
// of a given size.

#include <cstddef>
#include <string>

namespace bench {

// At least `bytes` bytes of RTF, the same for the same arguments.
std::string sampleRtf(std::size_t bytes, unsigned seed = 1);

} // namespace bench
