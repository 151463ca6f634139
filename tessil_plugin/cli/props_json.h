#pragma once

// `tessil props --json`: one JSON array with an object per file, in
// argument order:
//
//   {"file", "properties": [PROPERTY...], "attachments": [[PROPERTY...]...],
//    "error"}
//
// PROPERTY is {"tag", "id", "type", "name", "values"}: tag "0x0037001F" as
// stored (0x1000 in the type for a multi-valued property), id "0x0037", type
// "PtypString" (the number, "0x0ABC", for a type without a name), name
// "PidTagSubject" (a named property's set and name where the table has no
// name for it; null for an unknown tagged property) and every value, first
// to last, in the order stored: strings as text, integers and floating
// numbers as numbers, currency as an exact decimal number, booleans as
// booleans, times (and floating times) as UTC "yyyy-MM-ddTHH:mm:ssZ", GUIDs
// as "{…}", error codes as "0x8004010F", null as null, and binaries, objects
// and values that do not have their type's size as lowercase hex of every
// byte. "attachments" holds every attachment's properties in the order of
// `info --json`'s attachments (none for the rendered calendar or contact).
// A file that could not be decoded has empty lists and its reason in
// "error", which is null otherwise. With --attachment N (the last one, counted
// from 1), "attachment": N follows "file", "properties" holds that
// attachment's own properties and "attachments" is empty.

#include <functional>

class JsonWriter;
struct MessageReport;

// Writes one file's object; the caller opens and closes the array.
// `written`, when given, is called after each property, so that the caller
// can hand on what is there: a property may hold a large attachment's bytes.
// `attachment` is the index (from 0) of the attachment whose properties alone
// are written, or -1 for the whole message; it exists.
void writePropsJson(JsonWriter& json, const MessageReport& report, int attachment,
                    const std::function<void()>& written = {});
