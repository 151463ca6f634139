#include "tnef/tnef_memory.h"

#include "tnef/tnef.h"
#include "tnef/tnef_reader.h"

#include <stdlib.h>
#include <string.h>

namespace {

bool byte_count(uint64_t count, uint64_t size, size_t* total)
{
    if (size != 0 && count > UINT64_MAX / size)
        return false;
    const uint64_t bytes = count * size;
    if (bytes > (uint64_t)SIZE_MAX - 1)
        return false;
    *total = bytes == 0 ? 1 : (size_t)bytes;
    return true;
}

} // namespace

extern "C" {

void* checked_xmalloc(uint64_t count, uint64_t size)
{
    size_t total = 0;
    return byte_count(count, size, &total) ? malloc(total) : nullptr;
}

void* checked_xcalloc(uint64_t count, uint64_t size)
{
    size_t total = 0;
    return byte_count(count, size, &total) ? calloc(1, total) : nullptr;
}

void* checked_xrealloc(void* block, uint64_t count, uint64_t size)
{
    size_t total = 0;
    return byte_count(count, size, &total) ? realloc(block, total) : nullptr;
}

void tnef_release_block(const TnefResult* result, void* block)
{
    if (!block || tnef_is_static_empty_block(block))
        return;
    if (result && result->source) {
        // Compared as integers: the block may be of another object entirely.
        const uintptr_t at = (uintptr_t)block;
        const uintptr_t begin = (uintptr_t)result->source;
        if (at >= begin && at - begin < result->source_len)
            return;
    }
    free(block);
}

unsigned char* tnef_memdup0(const void* bytes, uint64_t length)
{
    if (length == UINT64_MAX)
        return nullptr;
    unsigned char* copy = (unsigned char*)checked_xmalloc(length + 1, 1);
    if (!copy)
        return nullptr;
    if (length)
        memcpy(copy, bytes, (size_t)length);
    copy[length] = 0;
    return copy;
}

char* tnef_strndup(const void* text, uint64_t length)
{
    const unsigned char* bytes = (const unsigned char*)text;
    uint64_t n = 0;
    if (bytes) {
        const void* zero = memchr(bytes, 0, (size_t)length);
        n = zero ? (uint64_t)((const unsigned char*)zero - bytes) : length;
    }
    return (char*)tnef_memdup0(bytes, n);
}

} // extern "C"
