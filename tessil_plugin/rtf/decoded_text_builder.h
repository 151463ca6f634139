#pragma once

// Text that arrives in pieces, as bytes in code pages that change from piece
// to piece and as single UTF-16 units, gathered into one QString in one pass.
//
// Bytes of a single-byte page are decoded as they come, through a table made
// once per page and thread. Bytes of a multi-byte page wait in a small buffer
// until they can be cut where no character spans the cut, so that a lead byte
// still meets its trail byte in the next piece; they are then decoded
// strictly in one call, and only a stretch that fails is read character by
// character, with what no page decodes shown as its Windows-1252 character.
// Every input byte yields at most one UTF-16 unit.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

namespace rtf {

class DecodedTextBuilder
{
public:
    // Whether the builder decodes `codePage`: a page the shared code-page
    // layer knows whose printable ASCII, tab and line breaks are themselves,
    // so that text and markup written in ASCII survive it. 1252 always is.
    static bool decodes(std::uint32_t codePage);

    // Appends `length` bytes of text in `codePage`; a page that decodes()
    // refuses is read as 1252.
    void appendBytes(const char* bytes, std::size_t length, std::uint32_t codePage);

    // Appends one UTF-16 unit; surrogate halves pair up with their neighbours.
    void appendUnit(char16_t unit);

    // The text so far, with any byte still waiting decoded; leaves the
    // builder empty.
    QString take();

private:
    void flushWaiting(bool everything);
    void decodeWaiting(std::size_t length);

    QString text_;
    std::string waiting_; // bytes of a multi-byte page, not yet decoded
    std::uint32_t waitingPage_ = 0;
    std::size_t searchedUpTo_ = 0; // waiting_ holds no safe cut before this
};

} // namespace rtf
