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

// The ICU converter of each code page the layer decodes; empty for any other
// number. Only these reach ICU: a page number read from a file is never
// turned into a converter name of its own, and no unknown page is remembered.
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
    case 10000: return "macintosh";
    // Thai, the East Asian double-byte pages, and the DOS pages RTF bodies name.
    case 874: case 932: case 936: case 949: case 950:
    case 437: case 708: case 720: case 737: case 775: case 850: case 852: case 855: case 857: case 858:
    case 860: case 861: case 862: case 863: case 864: case 865: case 866: case 869:
        return "windows-" + std::to_string(codePage);
    default: break;
    }
    if (codePage >= 1250 && codePage <= 1258)
        return "windows-" + std::to_string(codePage);
    if (codePage >= 28591 && codePage <= 28605)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return {};
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
        if (icuNameFor(codePage).empty())
            return nullptr;
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
        const std::string name = icuNameFor(codePage);
        if (name.empty())
            return nullptr;
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open(name.c_str(), &status);
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

std::uint32_t labelledTextPage(std::uint32_t codePage)
{
    return codePage == 28591 ? 1252 : codePage;
}

std::uint32_t ansiCodePageForLocale(std::uint32_t localeId)
{
    // Languages written in more than one script, told apart by the whole id.
    switch (localeId & 0xFFFF) {
    case 0x0804: case 0x1004: return 936;                            // Chinese: PRC, Singapore
    case 0x0404: case 0x0C04: case 0x1404: return 950;               // Chinese: Taiwan, Hong Kong, Macao
    case 0x0C1A: case 0x1C1A: case 0x201A: case 0x281A: case 0x301A: // Serbian and Bosnian in Cyrillic
    case 0x082C: case 0x0843:                                        // Azeri and Uzbek in Cyrillic
        return 1251;
    case 0x0850: return 1252;                                        // Mongolian script: no ANSI page
    case 0x042C: case 0x0443: return 1254;                           // Azeri and Uzbek in Latin
    default: break;
    }
    switch (localeId & 0x03FF) {
    case 0x05: case 0x0E: case 0x15: case 0x18: case 0x1A: case 0x1B: case 0x1C: case 0x24: case 0x2E:
    case 0x42:
        return 1250; // Czech, Hungarian, Polish, Romanian, Croatian/Serbian/Bosnian (Latin), Slovak, Albanian, Slovenian, Sorbian, Turkmen
    case 0x02: case 0x19: case 0x22: case 0x23: case 0x28: case 0x2F: case 0x3F: case 0x40: case 0x44:
    case 0x50: case 0x6D: case 0x85:
        return 1251; // Bulgarian, Russian, Ukrainian, Belarusian, Tajik, Macedonian, Kazakh, Kyrgyz, Tatar, Mongolian, Bashkir, Yakut
    case 0x08: return 1253;                                          // Greek
    case 0x1F: return 1254;                                          // Turkish
    case 0x0D: case 0x3D: return 1255;                               // Hebrew, Yiddish
    case 0x01: case 0x20: case 0x29: case 0x80: case 0x8C: return 1256; // Arabic, Urdu, Persian, Uyghur, Dari
    case 0x25: case 0x26: case 0x27: return 1257;                    // Estonian, Latvian, Lithuanian
    case 0x2A: return 1258;                                          // Vietnamese
    case 0x1E: return 874;                                           // Thai
    case 0x11: return 932;                                           // Japanese
    case 0x12: return 949;                                           // Korean
    case 0x04: return 936;                                           // Chinese without a known region
    default: return 1252;
    }
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
