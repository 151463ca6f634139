#include "tnef/tnef.h"

#include "tnef/tnef_attribute.h"
#include "tnef/tnef_diagnostics.h"
#include "tnef/tnef_memory.h"
#include "tnef/tnef_options.h"
#include "tnef/tnef_parse_state.h"
#include "tnef/tnef_reader.h"
#include "tnef/tnef_saved_property.h"

#include <stdlib.h>
#include <string.h>

namespace {

const uint32_t kSignature = 0x223E9F78;

void hand_over(const TnefResult* result, TnefKeptBody* kept, unsigned char** data, uint64_t* len)
{
    if (kept->data && kept->len > 0) {
        *data = kept->data;
        *len = kept->len;
    } else {
        tnef_release_block(result, kept->data);
    }
    kept->data = nullptr;
    kept->len = 0;
}

void finish(TnefParseState* state)
{
    tnef_close_attachment(state, 0);
    tnef_finish_recipients(state);
    TnefResult* r = state->result;
    hand_over(r, &state->body, &r->body, &r->body_len);
    hand_over(r, &state->html, &r->html, &r->html_len);
    hand_over(r, &state->rtf, &r->rtf, &r->rtf_len);
}

void end_of_input()
{
    tnef_diag("Unexpected end of input\n");
}

void fail(TnefResult* result, const char* reason)
{
    result->error = 1;
    if (!result->error_text)
        result->error_text = tnef_strndup(reason, strlen(reason));
}

// The walk over the records, the same for both kinds of input.
void parse_records(TnefReader* reader, TnefResult* result)
{
    const uint64_t start = reader->position;
    uint32_t signature = 0;
    if (!tnef_read_u32(reader, &signature)) {
        end_of_input();
        fail(result, reader->position == start ? "empty input" : "not a TNEF file");
        return;
    }
    if (signature != kSignature) {
        fail(result, "not a TNEF file");
        return;
    }
    uint16_t key = 0;
    if (!tnef_read_u16(reader, &key)) {
        end_of_input();
        result->warnings |= TNEF_WARNING_TRUNCATED;
        return;
    }

    TnefParseState state = {};
    state.result = result;
    for (;;) {
        TnefAttribute attribute;
        const TnefAttributeStatus status = tnef_read_attribute(reader, &attribute);
        if (status == TNEF_ATTRIBUTE_NONE)
            break;
        if (status == TNEF_ATTRIBUTE_TRUNCATED) {
            // What was read whole is still shown; the broken record is not.
            end_of_input();
            result->warnings |= TNEF_WARNING_TRUNCATED;
            break;
        }
        tnef_diag("[ATTR] lvl=%d name=0x%04x len=%lu\n", attribute.level, attribute.id,
                  (unsigned long)attribute.length);
        if (attribute.checksum_mismatch)
            result->warnings |= TNEF_WARNING_CHECKSUM;

        if (attribute.id == ATT_ATTACH_RENDDATA)
            tnef_close_attachment(&state, 1);
        switch (attribute.level) {
        case TNEF_LEVEL_MESSAGE:
            tnef_apply_message_attribute(&state, &attribute);
            break;
        case TNEF_LEVEL_ATTACHMENT:
            tnef_apply_attachment_attribute(&state, &attribute);
            break;
        default:
            fail(result, "damaged TNEF stream: a record of unknown level");
            break;
        }
        tnef_attribute_release(&attribute);
    }

    finish(&state);
}

TnefResult* new_result()
{
    tnef_options = TNEF_DEFAULT_OPTIONS;
    return (TnefResult*)checked_xcalloc(1, sizeof(TnefResult));
}

} // namespace

extern "C" {

TnefResult* tnef_parse(FILE* stream)
{
    TnefResult* result = new_result();
    if (!result)
        return nullptr;
    if (!stream) {
        fail(result, "no input stream");
        return result;
    }
    TnefReader reader;
    tnef_reader_init(&reader, stream);
    parse_records(&reader, result);
    return result;
}

TnefResult* tnef_parse_buffer(const unsigned char* data, size_t size)
{
    TnefResult* result = new_result();
    if (!result)
        return nullptr;
    if (data && size > 0) {
        result->source = data;
        result->source_len = size;
    }
    TnefReader reader;
    tnef_reader_init_memory(&reader, data, size);
    parse_records(&reader, result);
    return result;
}

void tnef_free(TnefResult* result)
{
    if (!result)
        return;
    tnef_release_block(result, result->body);
    free(result->html);
    free(result->rtf);
    free(result->subject);
    free(result->sender_name);
    free(result->sender_email);
    free(result->display_to);
    free(result->display_cc);
    free(result->message_class);
    for (int32_t i = 0; i < result->attachment_count; ++i) {
        TnefAttachment* a = &result->attachments[i];
        free(a->name);
        tnef_release_block(result, a->data);
        free(a->mime_type);
        free(a->content_id);
        tnef_free_properties(a->properties, a->property_count);
    }
    free(result->attachments);
    tnef_free_properties(result->properties, result->property_count);
    for (int32_t i = 0; i < result->recipient_count; ++i) {
        TnefRecipient* recipient = &result->recipients[i];
        free(recipient->display_name);
        free(recipient->email_address);
        free(recipient->address_type);
        free(recipient->smtp_address);
    }
    free(result->recipients);
    free(result->error_text);
    free(result);
}

} // extern "C"
