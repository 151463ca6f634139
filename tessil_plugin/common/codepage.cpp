#include "common/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <string>
#include <unordered_map>

namespace codepage {
namespace {

const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string icuNameFor(std::uint32_t codePage)
{
    switch (codePage) {
    case 65001: return "UTF-8";
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 20127: return "US-ASCII";
    case 54936: return "GB18030";
    case 51932: return "EUC-JP";
    case 50220: return "ISO-2022-JP";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28605)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "windows-" + std::to_string(codePage);
}

// ICU converters carry state and are not thread-safe, so each thread keeps
// its own, opened on first use. A null entry remembers an unknown code page.
class ConverterCache
{
public:
    ~ConverterCache()
    {
        for (auto& entry : converters_)
            if (entry.second)
                ucnv_close(entry.second);
    }

    UConverter* get(std::uint32_t codePage)
    {
        auto it = converters_.find(codePage);
        if (it != converters_.end())
            return it->second;
        UConverter* converter = open(codePage);
        converters_.emplace(codePage, converter);
        return converter;
    }

private:
    static UConverter* open(std::uint32_t codePage)
    {
        if (codePage == 0)
            return nullptr;
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open(icuNameFor(codePage).c_str(), &status);
        if (U_FAILURE(status) || !converter) {
            if (converter)
                ucnv_close(converter);
            return nullptr;
        }
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        if (U_FAILURE(status)) {
            ucnv_close(converter);
            return nullptr;
        }
        return converter;
    }

    std::unordered_map<std::uint32_t, UConverter*> converters_;
};

UConverter* converterFor(std::uint32_t codePage)
{
    thread_local ConverterCache cache;
    return cache.get(codePage);
}

} // namespace

char16_t cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kCp1252High[byte - 0x80];
    return static_cast<char16_t>(byte);
}

bool isSupported(std::uint32_t codePage)
{
    return codePage == 1252 || converterFor(codePage) != nullptr;
}

bool decodeStrict(std::uint32_t codePage, const char* bytes, std::size_t length, std::u16string& out)
{
    out.clear();
    if (length == 0)
        return codePage != 0 && isSupported(codePage);
    if (!bytes)
        return false;

    if (codePage == 1252) {
        out.resize(length);
        for (std::size_t i = 0; i < length; ++i)
            out[i] = cp1252ToUnicode(static_cast<unsigned char>(bytes[i]));
        return true;
    }

    UConverter* converter = converterFor(codePage);
    if (!converter || length > static_cast<std::size_t>(INT32_MAX / 2 - 1))
        return false;

    // Every character takes at least one byte and yields at most two UTF-16
    // units, so twice the input length always suffices.
    out.resize(length * 2 + 1);
    ucnv_resetToUnicode(converter);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written = ucnv_toUChars(converter, reinterpret_cast<UChar*>(&out[0]),
                                          static_cast<int32_t>(out.size()), bytes,
                                          static_cast<int32_t>(length), &status);
    ucnv_resetToUnicode(converter);
    if (U_FAILURE(status) || written < 0 || static_cast<std::size_t>(written) > out.size()) {
        out.clear();
        return false;
    }
    out.resize(static_cast<std::size_t>(written));
    return true;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF)
        cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string utf16ToUtf8(const char16_t* text, std::size_t length)
{
    std::string out;
    out.reserve(length * 3);
    for (std::size_t i = 0; i < length; ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

} // namespace codepage
