#pragma once

// Strict decoding of Windows code pages, shared by everything that turns
// legacy message bytes into text (header strings, bodies, RTF text).
//
// "Strict" means the whole conversion fails on any byte sequence that is
// invalid, unassigned or cut short in the code page, so callers can try the
// next candidate instead of showing mojibake. Code page 1252 is total, as on
// Windows: the five bytes that the standard leaves unassigned (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the code points of the same value.

#include <cstddef>
#include <cstdint>
#include <string>

namespace codepage {

// Decodes `length` bytes in `codePage` into UTF-16. Returns false (and leaves
// `out` empty) when the code page is unknown or the bytes are not valid in it.
// An empty input decodes to an empty text and returns true.
bool decodeStrict(std::uint32_t codePage, const char* bytes, std::size_t length, std::u16string& out);

// Whether decodeStrict knows `codePage` at all: 1252, the other Windows ANSI
// pages (874, 1250 to 1258), the East Asian ones (932, 936, 949, 950, 54936,
// 51932, 50220), the ISO 8859 pages (28591 to 28605), 20127, 65001, the
// UTF-16 pages, KOI8 and the DOS pages that RTF documents name.
bool isSupported(std::uint32_t codePage);

// The page to read 8-bit text in that a message labels with `codePage`:
// a Latin-1 label is read as Windows-1252, as the bodies' charset labels are,
// because text so labelled often holds 1252's quotes and dashes and never
// means the C1 control characters; any other page as given.
std::uint32_t labelledTextPage(std::uint32_t codePage);

// The ANSI code page Windows uses for a locale id (LCID), such as 1251 for
// 1049 (Russian) or 950 for 1028 (Chinese, Taiwan); 1252 for Western
// locales and for every locale it does not know.
std::uint32_t ansiCodePageForLocale(std::uint32_t localeId);

// The Windows-1252 character of one byte (never fails).
char16_t cp1252ToUnicode(unsigned char byte);

// Appends one Unicode scalar value as UTF-8. Surrogate code points are written
// in their three-byte form; values above U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

// Converts UTF-16 to UTF-8, pairing surrogates; a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(const char16_t* text, std::size_t length);

} // namespace codepage
