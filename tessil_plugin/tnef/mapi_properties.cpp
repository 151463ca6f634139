#include "tnef/mapi_properties.h"

#include "tnef/tnef_diagnostics.h"
#include "tnef/tnef_memory.h"
#include "tnef/tnef_reader.h"
#include "tnef/utf16le.h"

#include <stdlib.h>
#include <string.h>

namespace {

const char kUndefined[] = "Undefined attribute, input file may be corrupted\n";
const char kInvalid[] = "Invalid attribute, input file may be corrupted\n";
const char kOverrun[] = "Property block runs past its end, input file may be corrupted\n";

// Where decoding stands inside one block. Every read goes through need(),
// which refuses anything ending past the block, so no count or length taken
// from the block can reach outside it.
struct Cursor {
    const unsigned char* data;
    uint64_t length;
    uint64_t pos;  // may pass `length` after padding; need() then fails

    bool need(uint64_t count) const { return pos <= length && count <= length - pos; }
    uint64_t remaining() const { return pos < length ? length - pos : 0; }
    const unsigned char* here() const { return data + pos; }
};

uint64_t padded4(uint64_t n)
{
    return n + ((4 - (n & 3)) & 3);
}

void free_property(MapiProperty* property)
{
    if (!property)
        return;
    if (property->values && mapi_type_is_variable(property->type)) {
        for (uint64_t i = 0; i < property->value_count; ++i)
            free(property->values[i].data.buf);
    }
    free(property->values);
    free(property->guid);
    if (property->names) {
        for (uint64_t i = 0; i < property->name_count; ++i)
            free(property->names[i].text);
    }
    free(property->names);
    free(property);
}

void read_guid(const unsigned char* at, MapiGuid* guid)
{
    guid->data1 = tnef_le32(at);
    guid->data2 = tnef_le16(at + 4);
    guid->data3 = tnef_le16(at + 6);
    memcpy(guid->data4, at + 8, 8);
}

enum Outcome { kDecoded, kCorrupt };

Outcome fail(const char* message)
{
    tnef_diag("%s", message);
    return kCorrupt;
}

Outcome read_names(Cursor& c, MapiProperty* property)
{
    if (!c.need(16))
        return fail(kOverrun);
    property->guid = (MapiGuid*)checked_xcalloc(1, sizeof(MapiGuid));
    if (!property->guid)
        return fail(kOverrun);
    read_guid(c.here(), property->guid);
    c.pos += 16;

    if (!c.need(4))
        return fail(kOverrun);
    const uint32_t kind = tnef_le32(c.here());
    c.pos += 4;
    if (kind == 0) {
        if (!c.need(4))
            return fail(kOverrun);
        property->id = tnef_le32(c.here());
        c.pos += 4;
        return kDecoded;
    }

    // Each name takes at least its four-byte length.
    if (kind > c.remaining() / 4)
        return fail(kOverrun);
    property->names = (MapiName*)checked_xcalloc(kind, sizeof(MapiName));
    if (!property->names)
        return fail(kOverrun);
    property->name_count = kind;
    for (uint32_t i = 0; i < kind; ++i) {
        if (!c.need(4))
            return fail(kOverrun);
        const uint32_t bytes = tnef_le32(c.here());
        c.pos += 4;
        if (!c.need(bytes))
            return fail(kOverrun);
        char* text = utf16le_to_utf8(bytes, c.here());
        if (!text)
            return fail(kOverrun);
        property->names[i].text = text;
        property->names[i].len = strlen(text);
        c.pos += padded4(bytes);
    }
    return kDecoded;
}

Outcome read_value(Cursor& c, uint32_t type, MapiValue* value)
{
    // The order of these tests decides which message a bad type gets.
    if (type > PTYP_BINARY)
        return fail(kUndefined);
    if (type != PTYP_BINARY && type > PTYP_GUID)
        return fail(kUndefined);

    switch (type) {
    case PTYP_UNSPECIFIED:
    case PTYP_NULL:
    case PTYP_ERROR_CODE:
        return fail(kInvalid);
    case PTYP_INTEGER16:
        if (!c.need(2))
            return fail(kOverrun);
        value->len = 2;
        value->data.u16 = tnef_le16(c.here());
        c.pos += 4;
        return kDecoded;
    case PTYP_INTEGER32:
    case PTYP_FLOATING32:
    case PTYP_BOOLEAN:
        if (!c.need(4))
            return fail(kOverrun);
        value->len = 4;
        value->data.u32 = tnef_le32(c.here());
        c.pos += 4;
        return kDecoded;
    case PTYP_FLOATING64:
    case PTYP_CURRENCY:
    case PTYP_FLOATING_TIME:
    case PTYP_INTEGER64:
    case PTYP_TIME:
        if (!c.need(8))
            return fail(kOverrun);
        value->len = 8;
        value->data.words.low = tnef_le32(c.here());
        value->data.words.high = tnef_le32(c.here() + 4);
        c.pos += 8;
        return kDecoded;
    case PTYP_GUID:
        if (!c.need(16))
            return fail(kOverrun);
        value->len = 16;
        read_guid(c.here(), &value->data.guid);
        c.pos += 16;
        return kDecoded;
    case PTYP_OBJECT:
    case PTYP_STRING8:
    case PTYP_STRING:
    case PTYP_BINARY: {
        if (!c.need(4))
            return fail(kOverrun);
        const uint32_t bytes = tnef_le32(c.here());
        c.pos += 4;
        if (!c.need(bytes))
            return fail(kOverrun);
        if (type == PTYP_STRING) {
            char* text = utf16le_to_utf8(bytes, c.here());
            if (!text)
                return fail(kOverrun);
            value->data.buf = (unsigned char*)text;
            value->len = bytes == 0 ? 0 : strlen(text) + 1;
        } else {
            value->data.buf = tnef_memdup0(c.here(), bytes);
            if (!value->data.buf)
                return fail(kOverrun);
            value->len = bytes;
        }
        c.pos += padded4(bytes);
        return kDecoded;
    }
    default:
        return fail(kUndefined);
    }
}

bool has_value_count(uint32_t type)
{
    return (type & PTYP_MULTIPLE) != 0 || type == PTYP_STRING8 || type == PTYP_STRING
        || type == PTYP_OBJECT || type == PTYP_BINARY;
}

Outcome read_property(Cursor& c, MapiProperty* property)
{
    if (!c.need(4))
        return fail(kOverrun);
    uint32_t type = tnef_le16(c.here());
    property->id = tnef_le16(c.here() + 2);
    c.pos += 4;

    if (property->id >= 0x8000 && read_names(c, property) != kDecoded)
        return kCorrupt;

    uint64_t count = 1;
    if (has_value_count(type)) {
        if (!c.need(4))
            return fail(kOverrun);
        count = tnef_le32(c.here());
        c.pos += 4;
        // Every value takes at least four bytes (a 16-bit integer at the very
        // end may lack its padding), so a larger count cannot be genuine.
        if (count > (c.remaining() + 2) / 4)
            return fail(kOverrun);
    }
    property->multi_valued = (type & PTYP_MULTIPLE) ? 1 : 0;
    type &= ~(uint32_t)PTYP_MULTIPLE;
    property->type = type;

    if (count == 0)
        return kDecoded;
    property->values = (MapiValue*)checked_xcalloc(count, sizeof(MapiValue));
    if (!property->values)
        return fail(kOverrun);
    for (uint64_t i = 0; i < count; ++i) {
        // Counted as they arrive, so cleanup after a failure only frees
        // the values that exist.
        const Outcome outcome = read_value(c, type, &property->values[i]);
        if (outcome != kDecoded)
            return outcome;
        property->value_count = i + 1;
    }
    return kDecoded;
}

} // namespace

extern "C" {

int mapi_type_is_variable(uint32_t type)
{
    type &= ~(uint32_t)PTYP_MULTIPLE;
    return type == PTYP_OBJECT || type == PTYP_STRING8 || type == PTYP_STRING || type == PTYP_BINARY;
}

MapiProperty** mapi_parse_properties(size_t length, const unsigned char* data)
{
    size_t consumed = 0;
    return mapi_parse_properties_prefix(length, data, &consumed);
}

MapiProperty** mapi_parse_properties_prefix(size_t length, const unsigned char* data, size_t* consumed)
{
    Cursor c = {data, (uint64_t)length, 0};
    if (!data || !c.need(4)) {
        fail(kOverrun);
        return nullptr;
    }
    const uint32_t count = tnef_le32(c.here());
    c.pos = 4;
    // Every property takes at least four bytes for its tag.
    if (count > c.remaining() / 4) {
        fail(kOverrun);
        return nullptr;
    }
    MapiProperty** properties = (MapiProperty**)checked_xcalloc((uint64_t)count + 1, sizeof(MapiProperty*));
    if (!properties) {
        fail(kOverrun);
        return nullptr;
    }
    for (uint32_t i = 0; i < count; ++i) {
        MapiProperty* property = (MapiProperty*)checked_xcalloc(1, sizeof(MapiProperty));
        if (!property) {
            fail(kOverrun);
            mapi_free_properties(properties);
            return nullptr;
        }
        properties[i] = property;
        if (read_property(c, property) != kDecoded) {
            mapi_free_properties(properties);
            return nullptr;
        }
    }
    properties[count] = nullptr;
    // The last value's padding may reach past the block's end.
    *consumed = (size_t)(c.pos < c.length ? c.pos : c.length);
    return properties;
}

void mapi_free_properties(MapiProperty** properties)
{
    if (!properties)
        return;
    for (MapiProperty** p = properties; *p; ++p)
        free_property(*p);
    free(properties);
}

} // extern "C"
