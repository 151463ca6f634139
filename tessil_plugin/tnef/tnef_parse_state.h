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
    TnefKeptBody body;
    TnefKeptBody html;
    TnefKeptBody rtf;
} TnefParseState;

// Level 1: attBody and attMsgProps; anything else is dropped.
void tnef_apply_message_attribute(TnefParseState* state, TnefAttribute* attribute);

// Level 2, applied to the open attachment (ignored while none is open).
void tnef_apply_attachment_attribute(TnefParseState* state, TnefAttribute* attribute);

// Closes the open attachment, if any: one with data joins the result, one
// without is discarded. Then opens a new, empty one when `reopen` is set.
void tnef_close_attachment(TnefParseState* state, int reopen);

#ifdef __cplusplus
}
#endif
