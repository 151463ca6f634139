#pragma once

// What tnef_parse() holds while it walks the attribute records: the result
// being filled, the attachment under construction and the bodies kept so far.
// Internal to the decoder.

#include <stdint.h>

#include "tnef/tnef.h"
#include "tnef/tnef_attribute.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TnefPendingAttachment {
    unsigned char* name;   // raw bytes, converted when the attachment closes
    uint64_t name_len;
    unsigned char* data;   // may be a view of the memory input: release with tnef_release_block
    uint64_t len;
    char* mime_type;
    char* content_id;
    TnefProperty* properties;  // every property of its property blocks
    int32_t property_count;
    uint64_t property_capacity;
} TnefPendingAttachment;

// A body kept from the stream: the first one met, held until the end (a view
// of the memory input for the plain body read from memory).
typedef struct TnefKeptBody {
    int present;           // set once a first candidate has been met
    unsigned char* data;
    uint64_t len;
} TnefKeptBody;

typedef struct TnefParseState {
    TnefResult* result;
    TnefPendingAttachment* attachment;  // null while none is open
    uint64_t attachment_capacity;
    uint64_t property_capacity;
    uint64_t recipient_capacity;
    int recipient_texts_pending;        // some recipient text still awaits its code page
    TnefKeptBody body;
    TnefKeptBody html;
    TnefKeptBody rtf;
} TnefParseState;

// Level 1: attBody, attMsgProps and attRecipTable; anything else is dropped.
void tnef_apply_message_attribute(TnefParseState* state, TnefAttribute* attribute);

// attRecipTable: a row count, then per row a property block (a property
// count and the properties). Every row read whole joins the result's
// recipients; a row that does not decode ends the table there.
void tnef_apply_recipient_table(TnefParseState* state, const TnefAttribute* attribute);

// Converts the recipients' 8-bit texts once the message's code page is known.
void tnef_finish_recipients(TnefParseState* state);

// Level 2, applied to the open attachment (ignored while none is open).
void tnef_apply_attachment_attribute(TnefParseState* state, TnefAttribute* attribute);

// Closes the open attachment, if any: one with data joins the result, one
// without is discarded. Then opens a new, empty one when `reopen` is set.
void tnef_close_attachment(TnefParseState* state, int reopen);

#ifdef __cplusplus
}
#endif
