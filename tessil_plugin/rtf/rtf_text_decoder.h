#pragma once

// How escaped RTF text bytes become UTF-8: \'hh escapes in the code page of
// the current font's charset, with the lead byte of a double-byte character
// held back until its trail byte arrives, and the fallback byte after a
// four-digit \u escape turned back into that character.

#include <cstdint>
#include <string>
#include <string_view>

namespace rtf {

// The Windows code page of a font charset in a document read as Windows-1252:
// 128 Shift-JIS (932), 129 and 130 Korean (949), 134 GBK (936), 136 Big5
// (950), the single-byte Windows charsets their own pages (204 Cyrillic is
// 1251), everything else 1252.
std::uint32_t codePageForFontCharset(std::uint32_t charset);

// The code page of a font charset in a document whose default code page is
// `documentCodePage`: the double-byte charsets as above, the single-byte
// Windows charsets (Greek, Turkish, Vietnamese, Hebrew, Arabic, Baltic,
// Cyrillic, Thai, Central European) their own pages, and every other
// charset (ANSI, default, symbol, unknown) the document's page.
std::uint32_t codePageForFontCharset(std::uint32_t charset, std::uint32_t documentCodePage);

// One UTF-16 code unit as one to three bytes of UTF-8 (surrogates included).
std::string utf16UnitToUtf8(std::uint16_t unit);

class TextDecoder
{
public:
    // Decodes the escape whose two hex digits start at `cursor` (just after
    // "\'"); `begin` is the start of the input, for the look-back at a
    // preceding \u escape. Inside \listtext (`suppressText`) nothing is
    // written and the escape "b7" marks the item as a bullet item.
    std::string decodeHexByte(const char* begin, const char*& cursor, const char* end, std::uint32_t fontCharset,
                              bool suppressText, bool& bulletList);

    // Plain (unescaped) text bytes. Well-formed UTF-8 passes through as it
    // stands; any other byte at or above 0x80 is read like a \'hh escape in
    // the code page of the current font, so 8-bit text written without
    // escapes shows its characters instead of reaching the HTML as broken
    // UTF-8. A lead byte at the end stays pending like an escaped one.
    std::string decodePlainText(std::string_view text, std::uint32_t fontCharset);

    // Whether `text` can be handed on unchanged: no byte at or above 0x80
    // and nothing pending.
    bool passesThrough(std::string_view text) const;

    // Writes out the pending bytes. Without `force`, a lone byte that does not
    // decode yet (a lead byte) stays pending; with it, or with two bytes or
    // more, undecodable bytes are written as Windows-1252 characters.
    std::string flushPendingBytes(bool force);

    bool hasPendingBytes() const { return !pendingBytes_.empty(); }

private:
    void clearPending();

    std::string pendingBytes_;
    std::uint32_t pendingCodePage_ = 0;
};

} // namespace rtf
