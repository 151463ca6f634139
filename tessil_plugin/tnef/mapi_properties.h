#pragma once

// MAPI property blocks: the data of attMsgProps (the message's properties)
// and attAttachment (one attachment's properties), decoded into a list of
// properties with their values and, for named properties, their property-set
// GUID and names.
//
// Block layout (little-endian): u32 count; per property a u16 type and a u16
// id; for ids of 0x8000 and above a GUID and a kind word (0: a u32 numeric id
// follows and replaces the id; otherwise the number of names, each a u32 byte
// length, UTF-16LE text and padding to 4); a u32 value count for multi-valued
// and variable-size types; then the values, each padded to 4 bytes.

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Property types.
enum {
    PTYP_UNSPECIFIED = 0x0000,
    PTYP_NULL = 0x0001,
    PTYP_INTEGER16 = 0x0002,
    PTYP_INTEGER32 = 0x0003,
    PTYP_FLOATING32 = 0x0004,
    PTYP_FLOATING64 = 0x0005,
    PTYP_CURRENCY = 0x0006,
    PTYP_FLOATING_TIME = 0x0007,
    PTYP_ERROR_CODE = 0x000A,
    PTYP_BOOLEAN = 0x000B,
    PTYP_OBJECT = 0x000D,
    PTYP_INTEGER64 = 0x0014,
    PTYP_STRING8 = 0x001E,
    PTYP_STRING = 0x001F,
    PTYP_TIME = 0x0040,
    PTYP_GUID = 0x0048,
    PTYP_BINARY = 0x0102,
    PTYP_MULTIPLE = 0x1000,
};

typedef struct MapiGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} MapiGuid;

// One value. Fixed-size values are held inline; variable-size ones (binary,
// object, 8-bit and Unicode strings) point to their bytes followed by a zero.
typedef struct MapiValue {
    // Fixed types: 2, 4, 8 or 16. Binary, object, 8-bit string: the byte
    // count. Unicode string (converted to UTF-8): the byte count up to the
    // first zero plus one for that zero, or 0 for an empty value.
    uint64_t len;
    union {
        uint16_t u16;
        uint32_t u32;
        struct {
            uint32_t low;
            uint32_t high;
        } words;
        MapiGuid guid;
        unsigned char* buf;
    } data;
} MapiValue;

typedef struct MapiName {
    uint64_t len;   // UTF-8 byte count, without the terminating zero
    char* text;     // UTF-8, zero-terminated
} MapiName;

typedef struct MapiProperty {
    uint32_t type;          // the type without PTYP_MULTIPLE
    uint32_t id;            // the tag's id, or a named property's numeric id
    uint64_t value_count;
    MapiValue* values;
    MapiGuid* guid;         // property set of a named property, else null
    uint32_t name_count;
    uint32_t multi_valued;  // 1 when the tag carried PTYP_MULTIPLE
    MapiName* names;
} MapiProperty;

// Whether values of `type` are held through MapiValue::data.buf.
int mapi_type_is_variable(uint32_t type);

// Decodes a block of `length` bytes. Returns a null-terminated array of
// properties in block order, or null when the block is corrupt (an undefined
// or invalid type, or anything that runs past the block's end); a message
// then goes to the diagnostics stream. Release with mapi_free_properties().
MapiProperty** mapi_parse_properties(size_t length, const unsigned char* data);

// As mapi_parse_properties(), for a block at the start of `length` bytes
// that may be followed by more (the rows of a recipient table): on success
// `*consumed` is the block's own length.
MapiProperty** mapi_parse_properties_prefix(size_t length, const unsigned char* data, size_t* consumed);

// Releases a decoded block; null does nothing. Value buffers that a caller
// has taken over (set to null) are skipped.
void mapi_free_properties(MapiProperty** properties);

#ifdef __cplusplus
}
#endif
