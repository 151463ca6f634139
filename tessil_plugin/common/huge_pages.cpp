#include "common/huge_pages.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace memoryhint {

void preferHugePages(const void* buffer, std::uint64_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const std::uintptr_t huge = std::uintptr_t(2) << 20;
    if (!buffer)
        return;
    const auto address = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t begin = (address + huge - 1) & ~(huge - 1);
    const std::uintptr_t end = (address + std::uintptr_t(size)) & ~(huge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)buffer;
    (void)size;
#endif
}

} // namespace memoryhint
