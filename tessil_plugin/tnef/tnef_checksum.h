#pragma once

// The attribute checksum: the sum of the data bytes, kept modulo 65536.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Adds the bytes to a running sum (its low 16 bits are the checksum).
uint64_t tnef_checksum_add(uint64_t sum, const unsigned char* data, uint64_t length);

// The checksum of one buffer.
uint16_t tnef_checksum(const unsigned char* data, uint64_t length);

#ifdef __cplusplus
}
#endif
