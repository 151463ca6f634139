#pragma once

#include <cstdint>

namespace memoryhint {

// A hint for a large buffer that is about to be filled: on Linux, asks for
// transparent huge pages where the system leaves that to the program, which
// divides the page faults of the first touch by 512. Nothing changes when the
// hint is refused or the buffer spans no whole huge page.
void preferHugePages(const void* buffer, std::uint64_t size);

} // namespace memoryhint
