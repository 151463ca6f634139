#include "rtf/encapsulated_body.h"

#include "rtf/control_words.h"
#include "rtf/decoded_text_builder.h"
#include "rtf/rtf_destinations.h"
#include "rtf/rtf_text_decoder.h"
#include "rtf/rtf_token.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <map>
#include <stdexcept>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rtf {
namespace {

const int kRecognitionTokens = 10;
const char kStarred[] = "\\*\\";
const std::ptrdiff_t kStarredLength = 3;
const std::uint32_t kFallbackCodePage = 1252;
// The font of a group that named none (or reset it with \plain): \deff's.
const std::int32_t kDefaultFont = std::numeric_limits<std::int32_t>::min();

// Whether a tag group's markup or ordinary document text is being read.
enum class Destination : std::uint8_t { Text, Tag };

// What is saved at '{' and restored at '}'.
struct GroupState
{
    std::int32_t font = kDefaultFont;
    std::int32_t unicodeSkip = 1;
    Destination destination = Destination::Text;
    bool htmlRtf = false;
};

bool operator==(const GroupState& a, const GroupState& b)
{
    return a.font == b.font && a.unicodeSkip == b.unicodeSkip && a.destination == b.destination && a.htmlRtf == b.htmlRtf;
}

enum class ReaderWord : std::uint8_t {
    Other, Paragraph, Line, Tab, Unicode, UnicodeSkip, Font, DefaultFont, Plain, CodePage,
    HtmlRtf, HtmlTag, RewrittenTag, Binary, FontTable, SkippedDestination,
};

// The reader's own words first, by length and letters; the converter's
// table says which destinations hold no text.
ReaderWord classify(std::string_view name)
{
    switch (name.size()) {
    case 1:
        if (name[0] == 'u')
            return ReaderWord::Unicode;
        if (name[0] == 'f')
            return ReaderWord::Font;
        return ReaderWord::Other;
    case 2:
        return name == "uc" ? ReaderWord::UnicodeSkip : ReaderWord::Other;
    case 3:
        if (name == "par")
            return ReaderWord::Paragraph;
        if (name == "tab")
            return ReaderWord::Tab;
        if (name == "bin")
            return ReaderWord::Binary;
        break;
    case 4:
        if (name == "line")
            return ReaderWord::Line;
        if (name == "deff")
            return ReaderWord::DefaultFont;
        break;
    case 5:
        if (name == "plain")
            return ReaderWord::Plain;
        break;
    case 7:
        if (name == "htmlrtf")
            return ReaderWord::HtmlRtf;
        if (name == "htmltag")
            return ReaderWord::HtmlTag;
        if (name == "ansicpg")
            return ReaderWord::CodePage;
        if (name == "fonttbl")
            return ReaderWord::FontTable;
        break;
    case 8:
        if (name == "mhtmltag")
            return ReaderWord::RewrittenTag;
        break;
    default:
        break;
    }
    // Every destination in the converter's table has four to ten letters;
    // the common formatting words of other lengths need no lookup.
    if (name.size() < 4 || name.size() > 10)
        return ReaderWord::Other;
    switch (lookupWord(name)) {
    case Word::SkippedDestination:
    case Word::ColourTable:
        return ReaderWord::SkippedDestination;
    default:
        return ReaderWord::Other;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Bytes that end a stretch of plain text.
struct TextStops
{
    bool stops[256] = {};
    constexpr TextStops()
    {
        for (unsigned char c : {'\\', '{', '}', '\r', '\n', '\0'})
            stops[c] = true;
    }
};
constexpr TextStops kTextStops;

// The end of the stretch of plain text that starts at `cursor`. Text is most
// of a document, so it is scanned sixteen bytes at a time with SSE2 (every
// x86-64 processor has it), else eight at a time in a 64-bit word: the word
// holds the byte c exactly when the classic zero-byte test finds a zero in
// word ^ c...c, and the lowest bit that test sets is always that of the
// first such byte (bits above it may be set falsely).
const char* endOfText(const char* cursor, const char* end)
{
#if defined(__SSE2__)
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (end - cursor >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cursor));
        const __m128i stops = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, backslash), _mm_cmpeq_epi8(block, open)),
                         _mm_or_si128(_mm_cmpeq_epi8(block, close), _mm_cmpeq_epi8(block, cr))),
            _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, zero)));
        const int mask = _mm_movemask_epi8(stops);
        if (mask != 0)
            return cursor + __builtin_ctz(static_cast<unsigned>(mask));
        cursor += 16;
    }
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const auto holds = [](std::uint64_t word, unsigned char c) {
        const std::uint64_t x = word ^ (kOnes * c);
        return (x - kOnes) & ~x & kHighBits;
    };
    while (end - cursor >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, cursor, sizeof word);
        const std::uint64_t stops =
            holds(word, '\\') | holds(word, '{') | holds(word, '}') | holds(word, '\r') | holds(word, '\n') | holds(word, 0);
        if (stops != 0)
            return cursor + __builtin_ctzll(stops) / 8;
        cursor += 8;
    }
#endif
    while (cursor < end && !kTextStops.stops[static_cast<unsigned char>(*cursor)])
        ++cursor;
    return cursor;
}

EncapsulatedKind recognise(const char* cursor, const char* end)
{
    try {
        for (int tokens = 0; cursor < end && tokens < kRecognitionTokens;) {
            const char c = *cursor++;
            if (c == '{') {
                ++tokens;
                continue;
            }
            if (c != '\\')
                continue;
            const RtfToken token = readToken(cursor, end);
            ++tokens;
            if (token.isSymbol)
                continue;
            if (token.name == "fromhtml" && token.param == 1)
                return EncapsulatedKind::Html;
            if (token.name == "fromtext" && token.param != 0)
                return EncapsulatedKind::PlainText;
            if (token.name == "bin" && token.param > 0)
                cursor += std::min<std::ptrdiff_t>(token.param, end - cursor);
        }
    } catch (const std::exception&) {
        // A malformed number among the first tokens: not a document we recognise.
    }
    return EncapsulatedKind::None;
}

class EncapsulationReader
{
public:
    EncapsulationReader(const char* begin, const char* end)
        : cursor_(begin)
        , end_(end)
    {
    }

    QString read()
    {
        try {
            while (cursor_ < end_ && !finished_) {
                switch (*cursor_) {
                case '{':
                    ++cursor_;
                    fallbackToSkip_ = 0;
                    openGroup();
                    if (end_ - cursor_ >= kStarredLength && std::memcmp(cursor_, kStarred, kStarredLength) == 0) {
                        // The most frequent group by far, "{\*\htmltagN", read
                        // without the general symbol path.
                        cursor_ += kStarredLength;
                        readStarredDestination();
                    }
                    break;
                case '}':
                    ++cursor_;
                    fallbackToSkip_ = 0;
                    closeGroup();
                    break;
                case '\\':
                    ++cursor_;
                    readControl();
                    break;
                case '\r':
                case '\n':
                case '\0':
                    ++cursor_;
                    break;
                default:
                    readText();
                    break;
                }
            }
        } catch (const std::exception&) {
            // A malformed number (or exhausted memory): what was read stands.
        }
        return text_.take();
    }

private:
    struct SavedState
    {
        GroupState state;
        std::uint32_t count; // '{' in a row that saved this same state
    };

    bool copying() const { return state_.destination == Destination::Tag || !state_.htmlRtf; }

    // Markup is in the document's page; text in its font's.
    std::uint32_t codePage()
    {
        if (state_.destination == Destination::Tag)
            return documentCodePage_;
        const std::int32_t font = state_.font == kDefaultFont ? defaultFont_ : state_.font;
        if (!fontPageKnown_ || font != pageFont_) {
            const auto entry = fontCharsets_.find(font);
            const std::uint32_t charset = entry == fontCharsets_.end() ? 0 : entry->second;
            std::uint32_t page = codePageForFontCharset(charset, documentCodePage_);
            if (!DecodedTextBuilder::decodes(page))
                page = documentCodePage_;
            pageFont_ = font;
            fontPage_ = page;
            fontPageKnown_ = true;
        }
        return fontPage_;
    }

    // Only the charsets of fonts whose charset has a code page of its own
    // are kept; the others read as the document's page. Whole entries would
    // cost a table of many small fonts eleven times its size.
    void noteFont(std::int32_t number, std::uint32_t charset)
    {
        if (codePageForFontCharset(charset, 0) != 0)
            fontCharsets_[number] = charset;
        else
            fontCharsets_.erase(number);
    }

    // Runs of identical saved states share one entry, so that deep nesting
    // costs memory only where the state changes.
    void openGroup()
    {
        if (!saved_.empty() && saved_.back().state == state_ && saved_.back().count < std::numeric_limits<std::uint32_t>::max())
            ++saved_.back().count;
        else
            saved_.push_back(SavedState{state_, 1});
    }

    // The '}' of the outermost group ends the document; one without a group
    // to close is where the document was broken off.
    void closeGroup()
    {
        if (saved_.empty()) {
            finished_ = true;
            return;
        }
        SavedState& top = saved_.back();
        state_ = top.state;
        if (--top.count == 0)
            saved_.pop_back();
        if (saved_.empty())
            finished_ = true;
    }

    // The rest of the current group goes unread; its '}' is consumed.
    void skipDestination()
    {
        skipGroup(cursor_, end_);
        closeGroup();
    }

    void emitBytes(const char* bytes, std::size_t length)
    {
        if (copying())
            text_.appendBytes(bytes, length, codePage());
    }

    void emitUnit(char16_t unit)
    {
        if (copying())
            text_.appendUnit(unit);
    }

    void readText()
    {
        const char* begin = cursor_;
        cursor_ = endOfText(cursor_, end_);
        if (fallbackToSkip_ > 0) {
            const std::ptrdiff_t skipped = std::min<std::ptrdiff_t>(fallbackToSkip_, cursor_ - begin);
            begin += skipped;
            fallbackToSkip_ -= static_cast<std::int32_t>(skipped);
        }
        emitBytes(begin, static_cast<std::size_t>(cursor_ - begin));
    }

    // The byte of the two hex digits after \'; -1, and no byte, when they
    // are not two hex digits (an escape cut short shows nothing).
    int readHexByte()
    {
        if (cursor_ >= end_ || hexValue(*cursor_) < 0)
            return -1;
        const int high = hexValue(*cursor_++);
        if (cursor_ >= end_ || hexValue(*cursor_) < 0)
            return -1;
        return high * 16 + hexValue(*cursor_++);
    }

    void skipBinary(std::int32_t length)
    {
        if (length > 0)
            cursor_ += std::min<std::ptrdiff_t>(length, end_ - cursor_);
    }

    void readControl()
    {
        const RtfToken token = readToken(cursor_, end_);
        if (fallbackToSkip_ > 0) {
            // A control word or symbol stands for one character of a \u
            // escape's fallback; \'hh with its digits.
            --fallbackToSkip_;
            if (token.isSymbol && token.symbol == '\'')
                readHexByte();
            else if (!token.isSymbol && token.name == "bin")
                skipBinary(token.param);
            return;
        }
        if (token.isSymbol)
            readSymbol(token.symbol);
        else
            readWord(token);
    }

    void readSymbol(char symbol)
    {
        switch (symbol) {
        case '\'': {
            const int byte = readHexByte();
            if (byte >= 0) {
                const char c = static_cast<char>(byte);
                emitBytes(&c, 1);
            }
            break;
        }
        case '\\':
        case '{':
        case '}':
            emitBytes(&symbol, 1);
            break;
        case '~':
            if (state_.destination == Destination::Text)
                emitUnit(0x00A0);
            break;
        case '*':
            if (cursor_ < end_ && *cursor_ == '\\') {
                ++cursor_;
                readStarredDestination();
            } else {
                skipDestination();
            }
            break;
        default:
            break;
        }
    }

    // After "\*\": {\*\htmltagN ...} is read; every other such destination is not.
    void readStarredDestination()
    {
        const RtfToken word = readToken(cursor_, end_);
        if (!word.isSymbol && word.name == "htmltag")
            state_.destination = Destination::Tag;
        else
            skipDestination();
    }

    void readWord(const RtfToken& token)
    {
        const std::int32_t param = token.param;
        switch (classify(token.name)) {
        case ReaderWord::Other:
            break;
        case ReaderWord::Paragraph:
            emitBytes("\r\n", 2);
            break;
        case ReaderWord::Line:
            if (state_.destination == Destination::Text)
                emitBytes("\r\n", 2);
            break;
        case ReaderWord::Tab:
            emitBytes("\t", 1);
            break;
        case ReaderWord::Unicode:
            if (param != -1) {
                emitUnit(static_cast<char16_t>(static_cast<std::uint16_t>(param)));
                fallbackToSkip_ = state_.unicodeSkip;
            }
            break;
        case ReaderWord::UnicodeSkip:
            if (param >= 0)
                state_.unicodeSkip = param;
            break;
        case ReaderWord::Font:
            state_.font = param;
            break;
        case ReaderWord::DefaultFont:
            defaultFont_ = param;
            fontPageKnown_ = false;
            break;
        case ReaderWord::Plain:
            state_.font = kDefaultFont;
            break;
        case ReaderWord::CodePage:
            if (param > 0 && DecodedTextBuilder::decodes(static_cast<std::uint32_t>(param))) {
                documentCodePage_ = static_cast<std::uint32_t>(param);
                fontPageKnown_ = false;
            }
            break;
        case ReaderWord::HtmlRtf:
            state_.htmlRtf = param != 0;
            break;
        case ReaderWord::HtmlTag:
            state_.destination = Destination::Tag;
            break;
        case ReaderWord::RewrittenTag:
        case ReaderWord::SkippedDestination:
            skipDestination();
            break;
        case ReaderWord::Binary:
            skipBinary(param);
            break;
        case ReaderWord::FontTable:
            readFontTable(cursor_, end_, [this](std::int32_t number, FontEntry&& entry) { noteFont(number, entry.charset); });
            fontPageKnown_ = false;
            closeGroup();
            break;
        }
    }

    const char* cursor_;
    const char* end_;
    bool finished_ = false;
    DecodedTextBuilder text_;

    GroupState state_;
    std::deque<SavedState> saved_; // grows without copying what it holds
    std::int32_t fallbackToSkip_ = 0;

    std::uint32_t documentCodePage_ = kFallbackCodePage;
    std::int32_t defaultFont_ = kDefaultFont;
    std::map<std::int32_t, std::uint32_t> fontCharsets_;
    // The code page of the last font asked about.
    bool fontPageKnown_ = false;
    std::int32_t pageFont_ = 0;
    std::uint32_t fontPage_ = kFallbackCodePage;
};

} // namespace

EncapsulatedKind encapsulatedKind(const QByteArray& rtf)
{
    return recognise(rtf.constData(), rtf.constData() + rtf.size());
}

EncapsulatedBody recoverEncapsulatedBody(const QByteArray& rtf)
{
    EncapsulatedBody body;
    body.kind = encapsulatedKind(rtf);
    if (body.kind != EncapsulatedKind::None)
        body.text = EncapsulationReader(rtf.constData(), rtf.constData() + rtf.size()).read();
    return body;
}

} // namespace rtf
