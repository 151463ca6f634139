#include "tnef/compressed_rtf.h"
#include "tnef/mapi_properties.h"
#include "tnef/tnef_diagnostics.h"
#include "tnef/tnef_memory.h"
#include "tnef/tnef_parse_state.h"
#include "tnef/tnef_property_ids.h"
#include "tnef/tnef_saved_property.h"

#include <stdlib.h>
#include <string.h>

namespace {

bool is_string(const MapiProperty* p)
{
    return p->type == PTYP_STRING8 || p->type == PTYP_STRING;
}

bool is_empty(const char* text)
{
    return !text || !*text;
}

// Fills a header field from a string value unless an earlier one did.
void set_if_empty(char** field, const MapiValue* value, uint32_t code_page)
{
    if (!is_empty(*field))
        return;
    char* text = tnef_string_to_utf8((const char*)value->data.buf, (size_t)value->len, code_page);
    if (!text)
        return;
    free(*field);
    *field = text;
}

// The account value is "<id>\x01<name>\x01<address>"; the address is what
// counts. A value without both separators is taken whole.
void set_sender_from_account(char** field, const MapiValue* value, uint32_t code_page)
{
    if (!is_empty(*field))
        return;
    const unsigned char* text = value->data.buf;
    uint64_t start = 0;
    int separators = 0;
    for (uint64_t i = 0; i < value->len && separators < 2; ++i) {
        if (text[i] == 0x01 && ++separators == 2)
            start = i + 1;
    }
    if (separators < 2)
        start = 0;
    // Converted like every other header text, so the field is UTF-8 even
    // when the account name arrives in the message's code page.
    char* address = tnef_string_to_utf8((const char*)text + start, (size_t)(value->len - start), code_page);
    if (!address)
        return;
    free(*field);
    *field = address;
}

void keep_html(TnefParseState* state, const MapiProperty* p)
{
    if (state->html.present)
        return;
    state->html.present = 1;
    const MapiValue* first = &p->values[0];
    if (first->len == 0 || !first->data.buf)
        return;
    state->html.data = tnef_memdup0(first->data.buf, first->len);
    state->html.len = state->html.data ? first->len : 0;
}

void keep_rtf(TnefParseState* state, const MapiProperty* p)
{
    if (state->rtf.present)
        return;
    state->rtf.present = 1;
    RtfBody** bodies = rtf_decode_compressed(p);
    if (!bodies)
        return;
    if (bodies[0]) {
        state->result->warnings |= bodies[0]->warnings;
        state->rtf.data = bodies[0]->data;
        state->rtf.len = bodies[0]->len;
        bodies[0]->data = nullptr;
    }
    rtf_free_bodies(bodies, p->value_count);
}

void apply_field(TnefParseState* state, const MapiProperty* p)
{
    TnefResult* r = state->result;
    const MapiValue* first = &p->values[0];
    const uint32_t cp = r->code_page;
    switch (p->id) {
    case PID_TAG_BODY_HTML:
        if (p->type == PTYP_BINARY)
            keep_html(state, p);
        break;
    case PID_TAG_RTF_COMPRESSED:
        if (p->type == PTYP_BINARY)
            keep_rtf(state, p);
        break;
    case PID_TAG_SUBJECT:
    case PID_TAG_CONVERSATION_TOPIC:
        if (is_string(p))
            set_if_empty(&r->subject, first, cp);
        break;
    case PID_TAG_SENT_REPRESENTING_NAME:
        if (is_string(p))
            set_if_empty(&r->sender_name, first, cp);
        break;
    case PID_TAG_SENT_REPRESENTING_EMAIL_ADDRESS:
        if (is_string(p))
            set_if_empty(&r->sender_email, first, cp);
        break;
    case PID_TAG_PRIMARY_SEND_ACCOUNT:
        if (is_string(p))
            set_sender_from_account(&r->sender_email, first, cp);
        break;
    case PID_TAG_DISPLAY_TO:
        if (is_string(p))
            set_if_empty(&r->display_to, first, cp);
        break;
    case PID_TAG_DISPLAY_CC:
        if (is_string(p))
            set_if_empty(&r->display_cc, first, cp);
        break;
    case PID_TAG_MESSAGE_CLASS:
        if (is_string(p))
            set_if_empty(&r->message_class, first, cp);
        break;
    case PID_TAG_CLIENT_SUBMIT_TIME:
        if (p->type == PTYP_TIME)
            r->submit_time = ((uint64_t)first->data.words.high << 32) | first->data.words.low;
        break;
    default:
        break;
    }
}

MapiProperty** props_end(MapiProperty** props)
{
    while (*props)
        ++props;
    return props;
}

void save_property(TnefParseState* state, const MapiProperty* p, int index)
{
    TnefResult* r = state->result;
    const MapiValue* first = p->value_count ? &p->values[0] : nullptr;
    const void* address = nullptr;
    if (first)
        address = mapi_type_is_variable(p->type) ? (const void*)first->data.buf : (const void*)&first->data;
    tnef_diag("[SAVE] i=%d name=0x%04x type=0x%04x num_values=%lu buf=%p len=%lu\n", index, p->id, p->type,
              (unsigned long)p->value_count, address, (unsigned long)(first ? first->len : 0));
    tnef_save_property(&r->properties, &r->property_count, &state->property_capacity, p, 1);
}

void apply_property_block(TnefParseState* state, const TnefAttribute* attribute)
{
    TnefResult* r = state->result;
    MapiProperty** props = mapi_parse_properties(attribute->length, attribute->data);
    if (!props) {
        r->warnings |= TNEF_WARNING_CORRUPT_PROPERTIES;
        return;
    }

    for (MapiProperty** it = props; *it; ++it) {
        const MapiProperty* p = *it;
        if (p->id == PID_TAG_INTERNET_CODEPAGE && p->type == PTYP_INTEGER32 && p->value_count > 0)
            r->code_page = p->values[0].data.u32;
    }
    for (MapiProperty** it = props; *it; ++it) {
        if ((*it)->value_count > 0)
            apply_field(state, *it);
    }
    int index = 0;
    tnef_reserve_properties(&r->properties, r->property_count, &state->property_capacity, (uint64_t)(props_end(props) - props));
    for (MapiProperty** it = props; *it; ++it)
        save_property(state, *it, index++);

    mapi_free_properties(props);
}

} // namespace

extern "C" {

void tnef_apply_message_attribute(TnefParseState* state, TnefAttribute* attribute)
{
    switch (attribute->id) {
    case ATT_BODY:
        if (!state->body.present) {
            state->body.present = 1;
            state->body.data = attribute->data;
            state->body.len = attribute->length;
            attribute->data = nullptr;
        }
        break;
    case ATT_MSG_PROPS:
        apply_property_block(state, attribute);
        break;
    case ATT_RECIP_TABLE:
        tnef_apply_recipient_table(state, attribute);
        break;
    default:
        break;
    }
}

} // extern "C"
