#include "tnef/mapi_properties.h"
#include "tnef/tnef_diagnostics.h"
#include "tnef/tnef_memory.h"
#include "tnef/tnef_parse_state.h"
#include "tnef/tnef_reader.h"

#include <stdlib.h>
#include <string.h>

namespace {

enum : uint32_t {
    kRecipientType = 0x0C15,
    kDisplayName = 0x3001,
    kAddressType = 0x3002,
    kEmailAddress = 0x3003,
    kSmtpAddress = 0x39FE,
};

// 8-bit texts are kept as stored until the stream ends: the code page they
// are in may arrive after the table (attMsgProps), and they are converted
// then, as every other header text is.
void keep_text(TnefParseState* state, char** field, const MapiProperty* p)
{
    if (*field || p->value_count == 0 || !p->values[0].data.buf)
        return;
    if (p->type == PTYP_STRING) {
        *field = tnef_strndup(p->values[0].data.buf, p->values[0].len);
        return;
    }
    if (p->type != PTYP_STRING8)
        return;
    *field = tnef_strndup(p->values[0].data.buf, p->values[0].len);
    if (*field)
        state->recipient_texts_pending = 1;
}

bool grow_recipients(TnefParseState* state)
{
    TnefResult* r = state->result;
    if ((uint64_t)r->recipient_count < state->recipient_capacity)
        return true;
    if (r->recipient_count == INT32_MAX)
        return false;
    const uint64_t grown = state->recipient_capacity ? state->recipient_capacity * 2 : 4;
    TnefRecipient* bigger = (TnefRecipient*)checked_xrealloc(r->recipients, grown, sizeof(TnefRecipient));
    if (!bigger)
        return false;
    r->recipients = bigger;
    state->recipient_capacity = grown;
    return true;
}

bool names_someone(MapiProperty** props)
{
    for (MapiProperty** it = props; *it; ++it) {
        const uint32_t id = (*it)->id;
        if ((id == kDisplayName || id == kEmailAddress || id == kSmtpAddress) && (*it)->value_count > 0)
            return true;
    }
    return false;
}

void add_row(TnefParseState* state, MapiProperty** props)
{
    // A row that names nobody shows nothing; it is not kept.
    if (!names_someone(props) || !grow_recipients(state))
        return;
    TnefResult* r = state->result;
    TnefRecipient* out = &r->recipients[r->recipient_count++];
    memset(out, 0, sizeof *out);
    out->recipient_type = -1;
    for (MapiProperty** it = props; *it; ++it) {
        const MapiProperty* p = *it;
        switch (p->id) {
        case kDisplayName:
            keep_text(state, &out->display_name, p);
            break;
        case kAddressType:
            keep_text(state, &out->address_type, p);
            break;
        case kEmailAddress:
            keep_text(state, &out->email_address, p);
            break;
        case kSmtpAddress:
            keep_text(state, &out->smtp_address, p);
            break;
        case kRecipientType:
            if (p->type == PTYP_INTEGER32 && p->value_count > 0 && out->recipient_type < 0)
                out->recipient_type = p->values[0].data.u32;
            break;
        default:
            break;
        }
    }
}

void convert(char** field, uint32_t code_page)
{
    if (!*field)
        return;
    char* text = tnef_string_to_utf8(*field, strlen(*field), code_page);
    free(*field);
    *field = text;
}

} // namespace

extern "C" {

void tnef_apply_recipient_table(TnefParseState* state, const TnefAttribute* attribute)
{
    const unsigned char* data = attribute->data;
    const size_t length = attribute->length;
    if (!data || length < 4)
        return;
    const uint32_t rows = tnef_le32(data);
    size_t at = 4;
    for (uint32_t row = 0; row < rows && at < length; ++row) {
        size_t consumed = 0;
        MapiProperty** props = mapi_parse_properties_prefix(length - at, data + at, &consumed);
        if (!props) {
            tnef_diag("Recipient table row %u does not decode, input file may be corrupted\n", row);
            state->result->warnings |= TNEF_WARNING_CORRUPT_PROPERTIES;
            return;
        }
        add_row(state, props);
        mapi_free_properties(props);
        at += consumed;
    }
}

void tnef_finish_recipients(TnefParseState* state)
{
    if (!state->recipient_texts_pending)
        return;
    TnefResult* r = state->result;
    // Converting UTF-8 again keeps it as it is, so every text can go through.
    for (int32_t i = 0; i < r->recipient_count; ++i) {
        TnefRecipient* recipient = &r->recipients[i];
        convert(&recipient->display_name, r->code_page);
        convert(&recipient->address_type, r->code_page);
        convert(&recipient->email_address, r->code_page);
        convert(&recipient->smtp_address, r->code_page);
    }
    state->recipient_texts_pending = 0;
}

} // extern "C"
