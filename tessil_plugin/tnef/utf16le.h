#pragma once

// UTF-16LE text from property values and property names, turned into UTF-8.

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Converts the complete 16-bit units among `length` bytes of UTF-16LE into a
// new zero-terminated UTF-8 text (an odd last byte is ignored). Surrogate
// pairs become one four-byte sequence and a lone surrogate becomes U+FFFD,
// so the output is always valid UTF-8. A zero unit becomes a zero byte.
// Returns null only when the memory cannot be allocated.
char* utf16le_to_utf8(size_t length, const unsigned char* bytes);

#ifdef __cplusplus
}
#endif
