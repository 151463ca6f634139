#pragma once

// `tessil info --json`: one JSON array with an object per file, in argument
// order. Keys, always all present and in this order:
//
//   file, ok, error, messageClass, subject, senderName, senderEmail,
//   displayTo, displayCc, sentTime, infoLine, propertyCount, bodies,
//   displayBody, attachments, warnings
//
// bodies is {"html", "rtf", "plain"}, each null or {"size", "sha256"} of the
// HTML body's bytes, the RTF body's bytes and the plain body in UTF-8;
// displayBody is "html", "rtf", "plain" or null (nothing visible); each
// attachment is {"fileName", "mimeType", "contentId", "isOle", "storedSize",
// "size", "sha256", "listed"}, sizes and hash of the content a user gets.
// sentTime is UTC "yyyy-MM-ddTHH:mm:ssZ" or null. warnings lists the
// damage the file showed, by id ("truncated", "checksum",
// "corrupt-properties", "rtf-checksum"; see message_warnings.h).
//
// A file that could not be decoded has ok false and its reason in error;
// every other value is null, except bodies, whose three entries are null,
// and attachments and warnings, which are empty, so a reader can treat all
// objects alike.

class JsonWriter;
struct MessageReport;

// Writes one file's object; the caller opens and closes the array.
void writeInfoJson(JsonWriter& json, const MessageReport& report);
