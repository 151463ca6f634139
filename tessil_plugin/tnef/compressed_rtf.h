#pragma once

// Compressed RTF, the form in which a message's RTF body travels in
// PidTagRtfCompressed. Each value starts with a 16-byte header (COMPSIZE,
// RAWSIZE, COMPTYPE, CRC; u32 little-endian each): COMPTYPE "LZFu" is an LZ77
// stream over a 4096-byte ring preloaded with common RTF text, "MELA" is the
// RTF stored as is.

#include <stddef.h>
#include <stdint.h>

#include "tnef/mapi_properties.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RTF_COMPTYPE_LZFU 0x75465A4Cu
#define RTF_COMPTYPE_MELA 0x414C454Du
#define RTF_HEADER_SIZE 16u
// The longest output one input byte can yield: a control byte and eight
// 2-byte references (17 bytes) expand to at most 8 * 17 bytes.
#define RTF_MAX_EXPANSION 8u
#define RTF_DICTIONARY_SIZE 4096u

// The ring's initial contents; the write position starts at its length.
extern const char rtf_initial_dictionary[];
extern const size_t rtf_initial_dictionary_length;

typedef struct RtfBody {
    uint64_t len;
    unsigned char* data;
    // TNEF_WARNING_RTF_CHECKSUM for a CRC mismatch; TNEF_WARNING_TRUNCATED
    // when the stream ends early or runs past RAWSIZE. 0 for a sound value.
    uint32_t warnings;
} RtfBody;

// Decodes every value of a PidTagRtfCompressed property. Returns an array of
// value_count + 1 entries: per value either null (the value gives nothing:
// shorter than the header, unknown COMPTYPE, or a RAWSIZE beyond what its
// bytes can expand to) or a body; a CRC mismatch gives a body of length 0.
// The last entry is always null. Null when the array cannot be allocated.
// Release with rtf_free_bodies().
RtfBody** rtf_decode_compressed(const MapiProperty* property);

// Decodes one value held on its own (outside a property block) the same
// way, its damage in the body's warnings: null when it gives nothing.
// Release with rtf_free_body().
RtfBody* rtf_decode_compressed_value(const unsigned char* data, size_t length);
void rtf_free_body(RtfBody* body);

// Releases what rtf_decode_compressed() returned for `count` values.
void rtf_free_bodies(RtfBody** bodies, uint64_t count);

// Expands `length` bytes of "LZFu" data (what follows the header) into a new
// zeroed buffer of exactly `raw_size` bytes. A stream that ends early or would
// write past `raw_size` stops with a warning, leaving the rest zero. Returns
// null when `raw_size` exceeds what `length` bytes can ever expand to, or when
// the buffer cannot be allocated.
unsigned char* rtf_decompress(const unsigned char* data, size_t length, uint32_t raw_size);

// The CRC of the compressed bytes: the reflected CRC-32 table, started at
// zero and never inverted.
uint32_t rtf_crc32(const unsigned char* data, size_t length);

#ifdef __cplusplus
}
#endif
