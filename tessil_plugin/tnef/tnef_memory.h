#pragma once

// Allocation helpers of the decoder. None of them aborts: a size that
// overflows or cannot be allocated gives null, and the caller drops the item
// (the process must survive any input).

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct TnefResult;

// malloc of count * size bytes; null on overflow, on failure, or when the
// product does not fit in size_t. A zero size still returns a unique pointer.
void* checked_xmalloc(uint64_t count, uint64_t size);

// As checked_xmalloc, with the memory zeroed.
void* checked_xcalloc(uint64_t count, uint64_t size);

// Grows an array allocated by the helpers above; null (and the old block
// untouched) on failure.
void* checked_xrealloc(void* block, uint64_t count, uint64_t size);

// A copy of `length` bytes followed by one zero byte; null on failure.
unsigned char* tnef_memdup0(const void* bytes, uint64_t length);

// Releases a block of attribute data held for `result`: a buffer of the
// decoder's own is freed; a block that lies in the caller's input of
// tnef_parse_buffer() (or the static empty block) is left alone. Null does
// nothing.
void tnef_release_block(const struct TnefResult* result, void* block);

// A zero-terminated copy of at most `length` bytes, stopping at the first
// zero byte; null on failure.
char* tnef_strndup(const void* text, uint64_t length);

#ifdef __cplusplus
}
#endif
