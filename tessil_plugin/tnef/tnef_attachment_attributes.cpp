#include "tnef/mapi_properties.h"
#include "tnef/tnef_diagnostics.h"
#include "tnef/tnef_memory.h"
#include "tnef/tnef_parse_state.h"
#include "tnef/tnef_property_ids.h"
#include "tnef/tnef_saved_property.h"

#include <stdlib.h>
#include <string.h>

namespace {

const char kUntitled[] = "Untitled Attachment";

// An embedded OLE storage: the 16-byte interface id of IStorage (its first
// byte 0x0B) followed by the compound-file signature.
const unsigned char kCompoundFileSignature[4] = {0xD0, 0xCF, 0x11, 0xE0};
const uint64_t kOleOffset = 16;

void set_name(TnefPendingAttachment* a, const unsigned char* bytes, uint64_t length)
{
    unsigned char* copy = tnef_memdup0(bytes, length);
    if (!copy)
        return;
    free(a->name);
    a->name = copy;
    a->name_len = length;
}

// Short names and display names only stand in for a missing or generic one.
bool name_is_replaceable(const TnefPendingAttachment* a)
{
    return !a->name || a->name_len == 0 || a->name[0] == 0 || strcmp((const char*)a->name, kUntitled) == 0;
}

void set_text(char** field, const MapiValue* value)
{
    char* copy = tnef_strndup(value->data.buf, value->len);
    if (!copy)
        return;
    free(*field);
    *field = copy;
}

void apply_property(const TnefResult* result, TnefPendingAttachment* a, MapiProperty* p)
{
    // Every property used here carries bytes; a value of another type under
    // one of these ids holds no pointer and is passed over.
    if (p->value_count == 0 || !mapi_type_is_variable(p->type) || !p->values[0].data.buf)
        return;
    MapiValue* first = &p->values[0];
    switch (p->id) {
    case PID_TAG_ATTACH_LONG_FILENAME:
        set_name(a, first->data.buf, first->len);
        break;
    case PID_TAG_ATTACH_FILENAME:
    case PID_TAG_DISPLAY_NAME:
        if (name_is_replaceable(a))
            set_name(a, first->data.buf, first->len);
        break;
    case PID_TAG_ATTACH_LONG_PATHNAME: {
        const char* path = (const char*)first->data.buf;
        tnef_diag("MAPI_ATTACH_LONG_PATHNAME: %s\n", path);
        if (name_is_replaceable(a)) {
            const size_t length = strnlen(path, (size_t)first->len);
            size_t start = length;
            while (start > 0 && path[start - 1] != '\\')
                --start;
            set_name(a, (const unsigned char*)path + start, length - start);
        }
        break;
    }
    case PID_TAG_ATTACH_DATA:
        // Taken over rather than copied: attachment data can be large.
        tnef_release_block(result, a->data);
        a->data = first->data.buf;
        a->len = first->len;
        first->data.buf = nullptr;
        break;
    case PID_TAG_ATTACH_MIME_TAG:
        set_text(&a->mime_type, first);
        break;
    case PID_TAG_ATTACH_CONTENT_ID:
        set_text(&a->content_id, first);
        break;
    case PID_TAG_ATTACH_CONTENT_LOCATION:
        if (!a->content_id || !*a->content_id)
            set_text(&a->content_id, first);
        break;
    default:
        break;
    }
}

void release_pending(const TnefResult* result, TnefPendingAttachment* a)
{
    free(a->name);
    tnef_release_block(result, a->data);
    free(a->mime_type);
    free(a->content_id);
    tnef_free_properties(a->properties, a->property_count);
    free(a);
}

bool holds_ole_storage(const unsigned char* data, uint64_t len)
{
    return len >= 20 && data[0] == 0x0B && memcmp(data + 16, kCompoundFileSignature, 4) == 0;
}

bool grow_attachments(TnefParseState* state)
{
    TnefResult* r = state->result;
    if ((uint64_t)r->attachment_count < state->attachment_capacity)
        return true;
    if (r->attachment_count == INT32_MAX)
        return false;
    const uint64_t grown = state->attachment_capacity ? state->attachment_capacity * 2 : 4;
    TnefAttachment* bigger = (TnefAttachment*)checked_xrealloc(r->attachments, grown, sizeof(TnefAttachment));
    if (!bigger)
        return false;
    r->attachments = bigger;
    state->attachment_capacity = grown;
    return true;
}

void publish(TnefParseState* state, TnefPendingAttachment* a)
{
    if (!a->data || a->len == 0 || !grow_attachments(state))
        return;
    TnefResult* r = state->result;
    const uint32_t cp = r->code_page;
    TnefAttachment* out = &r->attachments[r->attachment_count++];
    memset(out, 0, sizeof *out);
    out->name = tnef_string_to_utf8((const char*)a->name, (size_t)a->name_len, cp);
    out->len = a->len;
    out->data = a->data;
    a->data = nullptr;
    // Result strings are UTF-8 throughout; these are ASCII in practice and
    // then pass through unchanged.
    if (a->mime_type)
        out->mime_type = tnef_string_to_utf8(a->mime_type, strlen(a->mime_type), cp);
    if (a->content_id)
        out->content_id = tnef_string_to_utf8(a->content_id, strlen(a->content_id), cp);
    out->is_ole = holds_ole_storage(out->data, out->len) ? 1 : 0;
    out->ole_offset = out->is_ole ? kOleOffset : 0;
    out->properties = a->properties;
    out->property_count = a->property_count;
    a->properties = nullptr;
    a->property_count = 0;
}

} // namespace

extern "C" {

void tnef_close_attachment(TnefParseState* state, int reopen)
{
    if (state->attachment) {
        publish(state, state->attachment);
        release_pending(state->result, state->attachment);
        state->attachment = nullptr;
    }
    if (reopen)
        state->attachment = (TnefPendingAttachment*)checked_xcalloc(1, sizeof(TnefPendingAttachment));
}

void tnef_apply_attachment_attribute(TnefParseState* state, TnefAttribute* attribute)
{
    TnefPendingAttachment* a = state->attachment;
    if (!a)
        return;
    switch (attribute->id) {
    case ATT_ATTACH_DATA:
        tnef_release_block(state->result, a->data);
        a->data = attribute->data;
        a->len = attribute->length;
        attribute->data = nullptr;
        break;
    case ATT_ATTACH_TITLE: {
        const size_t length = strnlen((const char*)attribute->data, attribute->length);
        set_name(a, attribute->data, length);
        break;
    }
    case ATT_ATTACHMENT: {
        MapiProperty** props = mapi_parse_properties(attribute->length, attribute->data);
        if (!props) {
            state->result->warnings |= TNEF_WARNING_CORRUPT_PROPERTIES;
            break;
        }
        for (MapiProperty** it = props; *it; ++it) {
            apply_property(state->result, a, *it);
            // The data, taken over above, is the attachment's own; the
            // property is listed without it rather than copied.
            const int keep_values = (*it)->id != PID_TAG_ATTACH_DATA || !mapi_type_is_variable((*it)->type);
            tnef_save_property(&a->properties, &a->property_count, &a->property_capacity, *it, keep_values);
        }
        mapi_free_properties(props);
        break;
    }
    default:
        break;
    }
}

} // extern "C"
