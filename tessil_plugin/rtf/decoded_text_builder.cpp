#include "rtf/decoded_text_builder.h"

#include "common/codepage.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

namespace rtf {
namespace {

// Multi-byte text is decoded in pieces of about this size; a piece that
// holds an invalid sequence is read again character by character, so the
// cost of one bad byte stays small.
const std::size_t kPieceBytes = 4096;
// A stretch this long without a place to cut is decoded whole anyway.
const std::size_t kLongestPiece = 64 * 1024;

// Below this, a byte is a character of its own in every multi-byte page
// decodes() accepts (trail bytes start at 0x30 in GB18030, at 0x40 or higher
// elsewhere), so the text can be cut after it.
const unsigned char kSafeCutBelow = 0x30;

// The Windows code pages a document may name. Others are refused without
// asking the code-page layer, which remembers every page it was asked about:
// a document naming thousands of made-up pages must not grow that memory.
bool isKnownWindowsPage(std::uint32_t codePage)
{
    switch (codePage) {
    case 437: case 708: case 720: case 737: case 775: case 850: case 852: case 855: case 857: case 858:
    case 860: case 861: case 862: case 863: case 864: case 865: case 866: case 869: case 874:
    case 932: case 936: case 949: case 950: case 1361: case 10000: case 20127: case 20866: case 21866:
    case 51932: case 54936: case 65001:
        return true;
    default:
        return (codePage >= 1250 && codePage <= 1258) || (codePage >= 28591 && codePage <= 28605);
    }
}

} // namespace

struct CodePageTable
{
    bool multiByte = false;
    // Bytes 0x80 to 0xFF: the character each is alone, or, where it is none
    // (a lead byte or a hole in the page), its Windows-1252 character.
    char16_t high[128] = {};
    bool alone[128] = {};
};

namespace {

std::unique_ptr<CodePageTable> buildTable(std::uint32_t codePage)
{
    auto table = std::make_unique<CodePageTable>();
    if (codePage == 1252) {
        for (int b = 0x80; b <= 0xFF; ++b) {
            table->high[b - 0x80] = codepage::cp1252ToUnicode(static_cast<unsigned char>(b));
            table->alone[b - 0x80] = true;
        }
        return table;
    }
    if (!isKnownWindowsPage(codePage))
        return nullptr;

    std::string ascii = "\t\n\r";
    for (char c = 0x20; c < 0x7F; ++c)
        ascii.push_back(c);
    std::u16string decoded;
    if (!codepage::decodeStrict(codePage, ascii.data(), ascii.size(), decoded) || decoded.size() != ascii.size())
        return nullptr;
    for (std::size_t i = 0; i < ascii.size(); ++i)
        if (decoded[i] != static_cast<char16_t>(ascii[i]))
            return nullptr;

    for (int b = 0x80; b <= 0xFF; ++b) {
        const char byte = static_cast<char>(b);
        if (codepage::decodeStrict(codePage, &byte, 1, decoded) && decoded.size() == 1) {
            table->high[b - 0x80] = decoded[0];
            table->alone[b - 0x80] = true;
            continue;
        }
        table->high[b - 0x80] = codepage::cp1252ToUnicode(static_cast<unsigned char>(b));
        for (const char trail : {'\x41', '\xA1'}) {
            const char pair[2] = {byte, trail};
            if (codepage::decodeStrict(codePage, pair, 2, decoded) && decoded.size() == 1)
                table->multiByte = true;
        }
    }
    return table;
}

// The table of a page, or null when the builder does not decode it. Made
// once per page and thread; only known pages are ever kept.
const CodePageTable* pageTable(std::uint32_t codePage)
{
    thread_local std::unordered_map<std::uint32_t, std::unique_ptr<CodePageTable>> tables;
    const auto found = tables.find(codePage);
    if (found != tables.end())
        return found->second.get();
    if (codePage != 1252 && !isKnownWindowsPage(codePage))
        return nullptr;
    return tables.emplace(codePage, buildTable(codePage)).first->second.get();
}

bool isAscii(const char* bytes, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    return true;
}

} // namespace

bool DecodedTextBuilder::decodes(std::uint32_t codePage)
{
    return pageTable(codePage) != nullptr;
}

void DecodedTextBuilder::appendBytesInPieces(const char* bytes, std::size_t length, std::uint32_t codePage)
{
    if (length == 0)
        return;
    const CodePageTable* table = tableFor(codePage);
    if (table->multiByte && (!waiting_.empty() || !isAscii(bytes, length))) {
        if (!waiting_.empty() && waitingPage_ != codePage)
            flushWaiting(true);
        waitingPage_ = codePage;
        waiting_.append(bytes, length);
        if (waiting_.size() >= kPieceBytes)
            flushWaiting(false);
        return;
    }
    flushWaiting(true);
    while (length > 0) {
        if (unitCount_ == kUnitBuffer)
            flushUnits();
        const std::size_t count = std::min(length, kUnitBuffer - unitCount_);
        char16_t* out = units_ + unitCount_;
        for (std::size_t i = 0; i < count; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            out[i] = byte < 0x80 ? char16_t(byte) : table->high[byte - 0x80];
        }
        unitCount_ += count;
        bytes += count;
        length -= count;
    }
}

// The table of `codePage`; a page the builder does not decode becomes 1252.
const CodePageTable* DecodedTextBuilder::tableFor(std::uint32_t& codePage)
{
    if (!lastTable_ || codePage != lastPage_) {
        lastPage_ = codePage;
        lastResolvedPage_ = codePage;
        lastTable_ = pageTable(codePage);
        if (!lastTable_) {
            lastResolvedPage_ = 1252;
            lastTable_ = pageTable(1252);
        }
        singleByteHigh_ = lastTable_->multiByte ? nullptr : lastTable_->high;
    }
    codePage = lastResolvedPage_;
    return lastTable_;
}

void DecodedTextBuilder::appendUnit(char16_t unit)
{
    flushWaiting(true);
    appendUnits(&unit, 1);
}

QString DecodedTextBuilder::take()
{
    flushWaiting(true);
    flushUnits();
    return std::exchange(text_, QString());
}

void DecodedTextBuilder::appendUnits(const char16_t* units, std::size_t count)
{
    if (count > kUnitBuffer - unitCount_)
        flushUnits();
    if (count >= kUnitBuffer) {
        text_.append(reinterpret_cast<const QChar*>(units), static_cast<qsizetype>(count));
        return;
    }
    std::copy(units, units + count, units_ + unitCount_);
    unitCount_ += count;
}

void DecodedTextBuilder::flushUnits()
{
    text_.append(reinterpret_cast<const QChar*>(units_), static_cast<qsizetype>(unitCount_));
    unitCount_ = 0;
}

// Decodes the waiting bytes up to the last place where the text can be cut,
// or all of them. Each byte is looked at once in the search for that place.
void DecodedTextBuilder::flushWaiting(bool everything)
{
    if (waiting_.empty())
        return;
    std::size_t cut = waiting_.size();
    if (!everything) {
        std::size_t i = waiting_.size();
        while (i > searchedUpTo_ && static_cast<unsigned char>(waiting_[i - 1]) >= kSafeCutBelow)
            --i;
        if (i > searchedUpTo_) {
            cut = i;
        } else if (waiting_.size() < kLongestPiece) {
            searchedUpTo_ = waiting_.size();
            return;
        }
    }
    decodeWaiting(cut);
    waiting_.erase(0, cut);
    // What stays holds no place to cut: it all came after the last one.
    searchedUpTo_ = waiting_.size();
}

void DecodedTextBuilder::decodeWaiting(std::size_t length)
{
    std::u16string decoded;
    if (codepage::decodeStrict(waitingPage_, waiting_.data(), length, decoded)) {
        appendUnits(decoded.data(), decoded.size());
        return;
    }
    const CodePageTable& table = *pageTable(waitingPage_);
    const char* bytes = waiting_.data();
    std::size_t i = 0;
    while (i < length) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80 || table.alone[byte - 0x80]) {
            const char16_t unit = byte < 0x80 ? char16_t(byte) : table.high[byte - 0x80];
            appendUnits(&unit, 1);
            ++i;
            continue;
        }
        // One character (a unit or a surrogate pair) of two to four bytes,
        // else the byte alone as 1252.
        std::size_t taken = 0;
        for (std::size_t size = 2; size <= 4 && i + size <= length && taken == 0; ++size) {
            if (codepage::decodeStrict(waitingPage_, bytes + i, size, decoded) && !decoded.empty() && decoded.size() <= 2) {
                appendUnits(decoded.data(), decoded.size());
                taken = size;
            }
        }
        if (taken == 0) {
            appendUnits(&table.high[byte - 0x80], 1);
            taken = 1;
        }
        i += taken;
    }
}

} // namespace rtf
