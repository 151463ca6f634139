#pragma once

// One attribute record of a TNEF stream: level (u8), tag (u32: id in the low
// word, type in the high word), length (u32), the data and a 16-bit checksum
// (the sum of the data bytes).

#include <stdint.h>

#include "tnef/tnef_reader.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    TNEF_LEVEL_MESSAGE = 1,
    TNEF_LEVEL_ATTACHMENT = 2,
};

// Attribute ids used by the decoder.
enum {
    ATT_BODY = 0x800C,
    ATT_ATTACH_DATA = 0x800F,
    ATT_ATTACH_TITLE = 0x8010,
    ATT_ATTACH_RENDDATA = 0x9002,
    ATT_MSG_PROPS = 0x9003,
    ATT_RECIP_TABLE = 0x9004,
    ATT_ATTACHMENT = 0x9005,
};

typedef struct TnefAttribute {
    uint8_t level;
    uint16_t id;
    uint16_t type;
    uint32_t length;
    // From a stream, length + 1 bytes of its own, the last one zero; from
    // memory, a view of the input (borrowed).
    unsigned char* data;
    int borrowed;
    uint16_t checksum;
    int checksum_mismatch;   // 1 when the data does not add up to `checksum`
} TnefAttribute;

typedef enum TnefAttributeStatus {
    TNEF_ATTRIBUTE_READ = 0,
    // No further record: the stream is at its end, or fewer than eight bytes
    // remain (a stray tail, not a record).
    TNEF_ATTRIBUTE_NONE = 1,
    // The stream ends inside the record (or its data cannot be held); the
    // record is dropped.
    TNEF_ATTRIBUTE_TRUNCATED = 2,
} TnefAttributeStatus;

// Reads the next record. On TNEF_ATTRIBUTE_READ the attribute holds its data
// (release with tnef_attribute_release; whoever takes `data` over releases it
// with tnef_release_block); a checksum mismatch is marked in the attribute,
// reported on the diagnostics stream, and the record is kept as read.
TnefAttributeStatus tnef_read_attribute(TnefReader* reader, TnefAttribute* attribute);

void tnef_attribute_release(TnefAttribute* attribute);

#ifdef __cplusplus
}
#endif
