#include "heap_meter.h"

#if defined(__SANITIZE_ADDRESS__)
#define QUORVIA_HEAP_METER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVIA_HEAP_METER 1
#endif
#endif

#ifdef QUORVIA_HEAP_METER
#include <atomic>
#include <cstdint>

// The sanitizer runtime's allocator interface (gcc ships the functions but
// not their header).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                              void (*free_hook)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* p);
}

namespace heapmeter {
namespace {

std::atomic<std::int64_t> live{0};
std::atomic<std::int64_t> base{0};
std::atomic<std::int64_t> highest{0};

void onMalloc(const volatile void*, std::size_t size)
{
    const std::int64_t now = live.fetch_add(std::int64_t(size), std::memory_order_relaxed) + std::int64_t(size);
    std::int64_t seen = highest.load(std::memory_order_relaxed);
    while (now > seen && !highest.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
}

void onFree(const volatile void* pointer)
{
    if (pointer)
        live.fetch_sub(std::int64_t(__sanitizer_get_allocated_size(pointer)),
                       std::memory_order_relaxed);
}

bool install()
{
    return __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
}

} // namespace

bool available()
{
    static const bool installed = install();
    return installed;
}

void start()
{
    available();
    const std::int64_t now = live.load(std::memory_order_relaxed);
    base.store(now, std::memory_order_relaxed);
    highest.store(now, std::memory_order_relaxed);
}

std::size_t peak()
{
    const std::int64_t above = highest.load(std::memory_order_relaxed) - base.load(std::memory_order_relaxed);
    return above > 0 ? std::size_t(above) : 0;
}

} // namespace heapmeter

#else

namespace heapmeter {
bool available() { return false; }
void start() {}
std::size_t peak() { return 0; }
} // namespace heapmeter

#endif
