#include "support/allocation_meter.h"

#include <sanitizer/allocator_interface.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace fuzzmeter {
namespace {

std::atomic<std::int64_t> live{0};
std::atomic<std::int64_t> base{0};
std::atomic<std::int64_t> highest{0};

// Worst cases seen, for the report at exit. Inputs below 4 KiB are dominated
// by the fixed part, so the ratio is only taken on larger ones.
const char* reportEntry = nullptr;
double worstRatio = 0;
std::size_t worstRatioSize = 0;
std::size_t worstSmallPeak = 0;
std::size_t largestInput = 0;

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
        live.fetch_sub(std::int64_t(__sanitizer_get_allocated_size(const_cast<const void*>(pointer))),
                       std::memory_order_relaxed);
}

void printReport()
{
    if (!reportEntry || !std::getenv("QUORVIA_FUZZ_REPORT"))
        return;
    std::fprintf(stderr,
                 "ALLOCATION %s: largest input %zu bytes; worst peak/size on inputs of 4 KiB and more %.2f "
                 "(input of %zu bytes); worst peak on smaller inputs %zu bytes\n",
                 reportEntry, largestInput, worstRatio, worstRatioSize, worstSmallPeak);
}

} // namespace

void install()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    std::atexit(printReport);
}

void start()
{
    const std::int64_t now = live.load(std::memory_order_relaxed);
    base.store(now, std::memory_order_relaxed);
    highest.store(now, std::memory_order_relaxed);
}

std::size_t peak()
{
    const std::int64_t above = highest.load(std::memory_order_relaxed) - base.load(std::memory_order_relaxed);
    return above > 0 ? std::size_t(above) : 0;
}

void check(const Budget& budget, std::size_t inputSize)
{
    const std::size_t used = peak();
    reportEntry = budget.entry;
    if (inputSize > largestInput)
        largestInput = inputSize;
    if (inputSize >= 4096) {
        const double ratio = double(used) / double(inputSize);
        if (ratio > worstRatio) {
            worstRatio = ratio;
            worstRatioSize = inputSize;
        }
    } else if (used > worstSmallPeak) {
        worstSmallPeak = used;
    }
    const std::size_t allowed = budget.perByte * inputSize + budget.fixed;
    if (used > allowed) {
        std::fprintf(stderr,
                     "==ALLOCATION== %s held %zu bytes at its peak for an input of %zu bytes "
                     "(allowed %zu x size + %zu = %zu)\n",
                     budget.entry, used, inputSize, budget.perByte, budget.fixed, allowed);
        std::abort();
    }
}

} // namespace fuzzmeter
