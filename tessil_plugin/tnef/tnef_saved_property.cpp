#include "tnef/tnef_saved_property.h"

#include "tnef/tnef_memory.h"

#include <stdlib.h>
#include <string.h>

namespace {

void put_le16(unsigned char* out, uint16_t v)
{
    out[0] = (unsigned char)v;
    out[1] = (unsigned char)(v >> 8);
}

void put_le32(unsigned char* out, uint32_t v)
{
    put_le16(out, (uint16_t)v);
    put_le16(out + 2, (uint16_t)(v >> 16));
}

// One value in its flat form: fixed-size values written into `fixed`,
// variable-size ones pointed to where they are. False for a value with no
// bytes to save.
bool flat_value(uint32_t type, const MapiValue* v, unsigned char fixed[16], const unsigned char** bytes, uint64_t* len)
{
    switch (type) {
    case PTYP_INTEGER16:
        put_le32(fixed, v->data.u16);
        *len = 4;
        break;
    case PTYP_INTEGER32:
    case PTYP_FLOATING32:
    case PTYP_BOOLEAN:
        put_le32(fixed, v->data.u32);
        *len = 4;
        break;
    case PTYP_FLOATING64:
    case PTYP_CURRENCY:
    case PTYP_FLOATING_TIME:
    case PTYP_INTEGER64:
    case PTYP_TIME:
        put_le32(fixed, v->data.words.low);
        put_le32(fixed + 4, v->data.words.high);
        *len = 8;
        break;
    case PTYP_GUID:
        put_le32(fixed, v->data.guid.data1);
        put_le16(fixed + 4, v->data.guid.data2);
        put_le16(fixed + 6, v->data.guid.data3);
        memcpy(fixed + 8, v->data.guid.data4, 8);
        *len = 16;
        break;
    default:
        if (!mapi_type_is_variable(type) || v->len == 0 || !v->data.buf)
            return false;
        *bytes = v->data.buf;
        *len = v->len;
        return true;
    }
    *bytes = fixed;
    return true;
}

unsigned char* copy_of(const unsigned char* bytes, uint64_t len)
{
    unsigned char* copy = (unsigned char*)checked_xmalloc(len, 1);
    if (copy && len)
        memcpy(copy, bytes, (size_t)len);
    return copy;
}

// Every value, one after the other. Null when they cannot be held.
TnefPropertyValues* all_values(const MapiProperty* p)
{
    uint64_t total = 0;
    for (uint64_t i = 0; i < p->value_count; ++i) {
        unsigned char fixed[16];
        const unsigned char* bytes = nullptr;
        uint64_t len = 0;
        if (flat_value(p->type, &p->values[i], fixed, &bytes, &len))
            total += len;
    }
    TnefPropertyValues* values = (TnefPropertyValues*)checked_xcalloc(1, sizeof(TnefPropertyValues));
    if (!values)
        return nullptr;
    values->ends = (uint64_t*)checked_xmalloc(p->value_count, sizeof(uint64_t));
    values->bytes = (unsigned char*)checked_xmalloc(total, 1);
    if (!values->ends || !values->bytes) {
        free(values->ends);
        free(values->bytes);
        free(values);
        return nullptr;
    }
    uint64_t at = 0;
    for (uint64_t i = 0; i < p->value_count; ++i) {
        unsigned char fixed[16];
        const unsigned char* bytes = nullptr;
        uint64_t len = 0;
        if (flat_value(p->type, &p->values[i], fixed, &bytes, &len)) {
            memcpy(values->bytes + at, bytes, (size_t)len);
            at += len;
        }
        values->ends[i] = at;
    }
    values->count = p->value_count;
    return values;
}

TnefPropertyName* name_of(const MapiProperty* p)
{
    TnefPropertyName* name = (TnefPropertyName*)checked_xcalloc(1, sizeof(TnefPropertyName));
    if (!name)
        return nullptr;
    put_le32(name->guid, p->guid->data1);
    put_le16(name->guid + 4, p->guid->data2);
    put_le16(name->guid + 6, p->guid->data3);
    memcpy(name->guid + 8, p->guid->data4, 8);
    if (p->name_count > 0 && p->names && p->names[0].text)
        name->string_name = tnef_strndup(p->names[0].text, p->names[0].len);
    else
        name->numeric_name = p->id;
    return name;
}

void release(TnefProperty* saved)
{
    free(saved->data);
    if (saved->values) {
        free(saved->values->ends);
        free(saved->values->bytes);
        free(saved->values);
    }
    if (saved->name) {
        free(saved->name->string_name);
        free(saved->name);
    }
}

bool grow(TnefProperty** items, uint64_t* capacity, uint64_t needed)
{
    if (needed <= *capacity)
        return true;
    uint64_t grown = *capacity ? *capacity * 2 : 16;
    if (grown < needed)
        grown = needed;
    if (grown > INT32_MAX)
        grown = INT32_MAX;
    if (grown < needed)
        return false;
    TnefProperty* bigger = (TnefProperty*)checked_xrealloc(*items, grown, sizeof(TnefProperty));
    if (!bigger)
        return false;
    *items = bigger;
    *capacity = grown;
    return true;
}

} // namespace

extern "C" {

int tnef_reserve_properties(TnefProperty** items, int32_t count, uint64_t* capacity, uint64_t more)
{
    return grow(items, capacity, (uint64_t)count + more) ? 1 : 0;
}

int tnef_save_property(TnefProperty** items, int32_t* count, uint64_t* capacity, const MapiProperty* p,
                       int keep_values)
{
    if (*count == INT32_MAX || !grow(items, capacity, (uint64_t)*count + 1))
        return 0;
    TnefProperty saved;
    memset(&saved, 0, sizeof saved);
    saved.id = (uint16_t)p->id;
    saved.type = (uint16_t)p->type;
    saved.multi_valued = p->multi_valued ? 1 : 0;
    if (keep_values && p->value_count > 0) {
        unsigned char fixed[16];
        const unsigned char* bytes = nullptr;
        uint64_t len = 0;
        if (flat_value(p->type, &p->values[0], fixed, &bytes, &len)) {
            saved.data = copy_of(bytes, len);
            saved.len = saved.data ? len : 0;
        }
        // A value that cannot be held is left out, as the first one is;
        // the property itself is still listed.
        if (p->value_count > 1 || p->multi_valued)
            saved.values = all_values(p);
    }
    if (p->guid)
        saved.name = name_of(p);
    (*items)[(*count)++] = saved;
    return 1;
}

void tnef_free_properties(TnefProperty* items, int32_t count)
{
    if (!items)
        return;
    for (int32_t i = 0; i < count; ++i)
        release(&items[i]);
    free(items);
}

} // extern "C"
