#pragma once

// TNEF stream decoder: reads one winmail.dat / .tnef stream, from a stdio
// stream or from bytes in memory, and returns its header texts, bodies,
// attachments, recipients, and the MAPI properties of the message and of
// each attachment.
//
// Plain records with explicit lengths. A result of tnef_parse() owns
// everything it holds, released by tnef_free(). A result of
// tnef_parse_buffer() may instead point into the caller's bytes for the
// plain body and for attachment data (see there). Strings are zero-terminated
// UTF-8 unless noted; byte buffers carry no terminator. An absent item is a
// null pointer with length 0.
//
// The decoder keeps one process-wide option word that every tnef_parse()
// sets afresh, so two parses must not run at the same time.

#include <stdint.h>
#include <stddef.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

// A named property's name: its property set and either a numeric name or a
// string name.
typedef struct TnefPropertyName {
    unsigned char guid[16];   // as stored: Data1, Data2, Data3 little-endian, then 8 bytes
    uint32_t numeric_name;    // the numeric name; 0 for a string name
    char* string_name;        // the first string name, UTF-8; null for a numeric name
} TnefPropertyName;

// Every value of a property with more than one value, or of a
// multi-valued one, in the flat form of TnefProperty::data, one after the
// other: value i is bytes[i == 0 ? 0 : ends[i - 1] .. ends[i]).
typedef struct TnefPropertyValues {
    uint64_t count;
    uint64_t* ends;
    unsigned char* bytes;
} TnefPropertyValues;

typedef struct TnefProperty {
    uint16_t id;              // property id; a named property's numeric name when it has one
    uint16_t type;            // property type without the multi-value flag
    uint16_t multi_valued;    // 1 when the tag carried the multi-value flag
    uint64_t len;             // length of data
    // The first value; null when the property has none. Integers as 4 or 8
    // little-endian bytes (16-bit ones widened to 4), GUIDs as 16 bytes,
    // 8-bit strings and binaries as stored, Unicode strings as UTF-8 with
    // their terminating zero.
    unsigned char* data;
    // Every value, when there is more than one or the property is
    // multi-valued; null when `data` is the only one.
    TnefPropertyValues* values;
    TnefPropertyName* name;   // null unless the property is a named one
} TnefProperty;

// One row of the recipient table (attRecipTable). Texts are UTF-8; null
// when absent.
typedef struct TnefRecipient {
    char* display_name;       // PidTagDisplayName
    char* email_address;      // PidTagEmailAddress
    char* address_type;       // PidTagAddressType ("SMTP", "EX", ...)
    char* smtp_address;       // PidTagSmtpAddress
    int64_t recipient_type;   // PidTagRecipientType; -1 when absent
} TnefRecipient;

typedef struct TnefAttachment {
    char* name;               // file name, UTF-8; may be null
    uint64_t len;             // length of data
    unsigned char* data;      // the attachment's bytes
    char* mime_type;          // PidTagAttachMimeTag
    char* content_id;         // PidTagAttachContentId, else PidTagAttachContentLocation
    int32_t is_ole;           // 1 when data is a 16-byte interface id followed by a compound file
    uint64_t ole_offset;      // 16 when is_ole, else 0
    // The attachment's MAPI properties, in stream order. The attachment data
    // property (0x3701) is listed without a value: `data` is its value.
    TnefProperty* properties;
    int32_t property_count;
} TnefAttachment;

// What a decoded stream's damage cost: each a flag of TnefResult::warnings.
// Whatever could be read is still in the result.
enum {
    TNEF_WARNING_TRUNCATED = 0x0001,          // the stream (or the RTF body) ends inside a record
    TNEF_WARNING_CHECKSUM = 0x0002,           // a record's checksum does not match its data
    TNEF_WARNING_CORRUPT_PROPERTIES = 0x0004, // a property block could not be read and was dropped
    TNEF_WARNING_RTF_CHECKSUM = 0x0008,       // the RTF body's CRC does not match, so it was dropped
};

typedef struct TnefResult {
    unsigned char* body;      // first attBody at message level, as stored
    uint64_t body_len;
    unsigned char* html;      // first value of PidTagBodyHtml
    uint64_t html_len;
    unsigned char* rtf;       // first value of PidTagRtfCompressed, decompressed
    uint64_t rtf_len;
    uint32_t code_page;       // PidTagInternetCodepage; 0 when absent
    char* subject;
    char* sender_name;
    char* sender_email;
    char* display_to;
    char* display_cc;
    char* message_class;
    uint64_t submit_time;     // FILETIME of PidTagClientSubmitTime; 0 when absent
    TnefAttachment* attachments;
    int32_t attachment_count;
    TnefProperty* properties; // the message's properties, in stream order
    int32_t property_count;
    TnefRecipient* recipients;
    int32_t recipient_count;
    int32_t error;            // 0 success, 1 not a valid TNEF stream
    char* error_text;         // why, in one English line, when error is set; else null
    // The bytes given to tnef_parse_buffer(); null after tnef_parse(). A
    // buffer of the result that lies inside them is part of them.
    const unsigned char* source;
    uint64_t source_len;
    uint32_t warnings;        // TNEF_WARNING_* flags, also when error is set
} TnefResult;

// Reads the stream from its current position to its end. Returns null only
// when the result record itself cannot be allocated. Does not close the stream.
TnefResult* tnef_parse(FILE* stream);

// Decodes `size` bytes in memory, with the same outcome as tnef_parse() on a
// stream of those bytes. Nothing is copied for the plain body or for
// attachment data taken from their own records: `body` and
// `attachments[i].data` then point into `data`, so `data` must stay
// unchanged and alive as long as the result is used. tnef_free() leaves
// those bytes alone. Other buffers (attachment data from a property block,
// the HTML and RTF bodies, properties, texts) are the result's own. Null
// data with size 0 is an empty input. Returns null only when the result
// record itself cannot be allocated.
TnefResult* tnef_parse_buffer(const unsigned char* data, size_t size);

// Releases a result and everything it owns; null does nothing.
void tnef_free(TnefResult* result);

// Converts a string taken from the stream to UTF-8: valid UTF-8 is kept,
// anything else is decoded from the message's code page when the shared
// code-page layer knows it (the Windows, ISO 8859 and East Asian pages;
// Latin-1 as Windows-1252), else, and where the bytes are not valid in that
// page, as Windows-1252. Returns a new zero-terminated string, or null for no
// text.
char* tnef_string_to_utf8(const char* text, size_t length, uint32_t code_page);

// Where the decoder writes its warnings and trace lines: standard error by
// default; null silences them (the command-line tool does, unless verbose).
void tnef_set_diagnostics(FILE* stream);

// The stream diagnostics currently go to (null when silenced), e.g. to restore
// it after redirecting them for a while.
FILE* tnef_diagnostics(void);

#ifdef __cplusplus
}
#endif
