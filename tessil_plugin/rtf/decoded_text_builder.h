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

struct CodePageTable;

class DecodedTextBuilder
{
public:
    // Whether the builder decodes `codePage`: a page the shared code-page
    // layer knows whose printable ASCII, tab and line breaks are themselves,
    // so that text and markup written in ASCII survive it. 1252 always is.
    static bool decodes(std::uint32_t codePage);

    // Appends `length` bytes of text in `codePage`; a page that decodes()
    // refuses is read as 1252.
    void appendBytes(const char* bytes, std::size_t length, std::uint32_t codePage)
    {
        // Most pieces are a few bytes in the page of the piece before: they
        // are widened here, without a call.
        if (codePage == lastPage_ && singleByteHigh_ && waiting_.empty() && length <= kUnitBuffer - unitCount_) {
            char16_t* out = units_ + unitCount_;
            for (std::size_t i = 0; i < length; ++i) {
                const auto byte = static_cast<unsigned char>(bytes[i]);
                out[i] = byte < 0x80 ? char16_t(byte) : singleByteHigh_[byte - 0x80];
            }
            unitCount_ += length;
            return;
        }
        appendBytesInPieces(bytes, length, codePage);
    }

    // Appends one UTF-16 unit; surrogate halves pair up with their neighbours.
    void appendUnit(char16_t unit);

    // The text so far, with any byte still waiting decoded; leaves the
    // builder empty.
    QString take();

private:
    void appendBytesInPieces(const char* bytes, std::size_t length, std::uint32_t codePage);
    const CodePageTable* tableFor(std::uint32_t& codePage);
    void flushWaiting(bool everything);
    void decodeWaiting(std::size_t length);
    void appendUnits(const char16_t* units, std::size_t count);
    void flushUnits();

    // Text comes in pieces of a few characters: they gather here first, so
    // that the QString grows in large steps.
    static const std::size_t kUnitBuffer = 2048;
    char16_t units_[kUnitBuffer];
    std::size_t unitCount_ = 0;

    QString text_;
    std::string waiting_; // bytes of a multi-byte page, not yet decoded
    std::uint32_t waitingPage_ = 0;
    std::size_t searchedUpTo_ = 0; // waiting_ holds no safe cut before this
    // The page asked for last and its table, so that a run of pieces in one
    // page looks the table up once.
    std::uint32_t lastPage_ = 0;
    std::uint32_t lastResolvedPage_ = 0;
    const CodePageTable* lastTable_ = nullptr;
    const char16_t* singleByteHigh_ = nullptr; // of lastTable_, when its page is single-byte
};

} // namespace rtf
