#include "rtf/rtf_text_decoder.h"

#include "common/codepage.h"

#include <cstdlib>

namespace rtf {
namespace {

// An escape this close to the start of the input cannot follow a \u escape
// and is always read as Windows-1252.
const std::ptrdiff_t kLookBackMinimum = 11;

void appendCp1252(std::string& out, unsigned char byte)
{
    codepage::appendUtf8(out, codepage::cp1252ToUnicode(byte));
}

bool isDoubleBytePage(std::uint32_t codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

// A byte of a single-byte page; one the page leaves unassigned shows as its
// Windows-1252 character, as undecodable bytes do everywhere in the converter.
void appendSingleByte(std::string& out, unsigned char byte, std::uint32_t codePage)
{
    std::u16string decoded;
    const char c = static_cast<char>(byte);
    if (codePage != 1252 && codepage::decodeStrict(codePage, &c, 1, decoded) && decoded.size() == 1)
        codepage::appendUtf8(out, decoded.front());
    else
        appendCp1252(out, byte);
}

// When the escape at `escape` directly follows a four-character \u escape
// (an optional CR in between), stores that escape's code unit and returns
// true. Only digits and '-' count as its characters: "\ul ab\'e9" is an
// underline word followed by text, not a \u escape.
bool precedingUnicodeEscape(const char* begin, const char* escape, std::uint16_t& unit)
{
    const char* p = escape;
    if (p - begin >= 1 && p[-1] == '\r')
        --p;
    if (p - begin < 6 || p[-6] != '\\' || p[-5] != 'u')
        return false;
    const char* digits = p - 4;
    for (int i = 0; i < 4; ++i)
        if (!((digits[i] >= '0' && digits[i] <= '9') || digits[i] == '-'))
            return false;
    // atoi: an optional minus, then digits up to the first other character.
    int i = 0;
    bool negative = false;
    if (digits[0] == '-') {
        negative = true;
        i = 1;
    }
    int value = 0;
    for (; i < 4 && digits[i] >= '0' && digits[i] <= '9'; ++i)
        value = value * 10 + (digits[i] - '0');
    unit = static_cast<std::uint16_t>(negative ? -value : value);
    return true;
}

// The length of the well-formed UTF-8 sequence of two to four bytes that
// starts at text[i], or 0.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - i < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

} // namespace

std::uint32_t codePageForFontCharset(std::uint32_t charset)
{
    return codePageForFontCharset(charset, 1252);
}

std::uint32_t codePageForFontCharset(std::uint32_t charset, std::uint32_t documentCodePage)
{
    switch (charset) {
    case 128: return 932;
    case 129: return 949;
    case 130: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return documentCodePage;
    }
}

std::string utf16UnitToUtf8(std::uint16_t unit)
{
    std::string out;
    codepage::appendUtf8(out, unit);
    return out;
}

void TextDecoder::clearPending()
{
    pendingBytes_.clear();
    pendingCodePage_ = 0;
}

std::string TextDecoder::decodeHexByte(const char* begin, const char*& cursor, const char* end,
                                       std::uint32_t fontCharset, bool suppressText, bool& bulletList)
{
    if (end - cursor < 2) {
        cursor = end;
        return std::string();
    }
    const char digits[3] = {cursor[0], cursor[1], '\0'};
    const char* escape = cursor - 2; // the backslash
    cursor += 2;
    // Not validated: invalid digits give a partial value or 0, as strtol reads them.
    const auto byte = static_cast<unsigned char>(std::strtol(digits, nullptr, 16));

    if (suppressText) {
        if (digits[0] == 'b' && digits[1] == '7')
            bulletList = true;
        return std::string();
    }

    std::string out;
    if (cursor - begin >= kLookBackMinimum) {
        std::uint16_t unit = 0;
        if (precedingUnicodeEscape(begin, escape, unit)) {
            clearPending();
            return utf16UnitToUtf8(unit);
        }
    } else {
        appendCp1252(out, byte);
        return out;
    }

    const std::uint32_t codePage = codePageForFontCharset(fontCharset);
    if (!isDoubleBytePage(codePage)) {
        clearPending();
        appendSingleByte(out, byte, codePage);
        return out;
    }
    if (pendingCodePage_ != codePage) {
        pendingBytes_.clear();
        pendingCodePage_ = codePage;
    }
    pendingBytes_.push_back(static_cast<char>(byte));
    return flushPendingBytes(false);
}

bool TextDecoder::passesThrough(std::string_view text) const
{
    if (!pendingBytes_.empty())
        return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::string TextDecoder::decodePlainText(std::string_view text, std::uint32_t fontCharset)
{
    std::string out;
    out.reserve(text.size());
    const std::uint32_t codePage = codePageForFontCharset(fontCharset);
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!pendingBytes_.empty()) {
            // A lead byte waits for its trail byte, which may lie in the
            // ASCII range (Shift-JIS, GBK, Big5).
            pendingBytes_.push_back(static_cast<char>(byte));
            out += flushPendingBytes(false);
            ++i;
            continue;
        }
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            ++i;
            continue;
        }
        if (const std::size_t length = utf8SequenceLength(text, i)) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        if (!isDoubleBytePage(codePage)) {
            appendSingleByte(out, byte, codePage);
        } else {
            pendingCodePage_ = codePage;
            pendingBytes_.push_back(static_cast<char>(byte));
            out += flushPendingBytes(false);
        }
        ++i;
    }
    return out;
}

std::string TextDecoder::flushPendingBytes(bool force)
{
    std::string out;
    if (pendingBytes_.empty())
        return out;
    std::u16string decoded;
    if (codepage::decodeStrict(pendingCodePage_, pendingBytes_.data(), pendingBytes_.size(), decoded)) {
        out = codepage::utf16ToUtf8(decoded.data(), decoded.size());
        clearPending();
        return out;
    }
    if (pendingBytes_.size() >= 2 || force) {
        for (char c : pendingBytes_)
            appendCp1252(out, static_cast<unsigned char>(c));
        clearPending();
    }
    return out;
}

} // namespace rtf
