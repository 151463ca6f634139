#include "tnef/tnef.h"

#include "common/codepage.h"
#include "tnef/tnef_memory.h"

#include <string.h>

#include <string>

namespace {

// Whether the text, up to `length` bytes or its first zero byte, is
// well-formed UTF-8. Overlong forms, surrogates and code points beyond
// U+10FFFF count as invalid: letting them through would hand callers text
// that only looks like UTF-8, where the legacy code page reads correctly
// (C0 AF is "À¯" in 1252, not a slash).
bool is_utf8(const unsigned char* s, size_t length)
{
    size_t i = 0;
    while (i < length && s[i] != 0) {
        const unsigned char lead = s[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t trail;
        uint32_t min;
        uint32_t cp;
        if ((lead & 0xE0) == 0xC0) {
            trail = 1;
            min = 0x80;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            trail = 2;
            min = 0x800;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            trail = 3;
            min = 0x10000;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (trail > length - i - 1)
            return false;
        for (size_t k = 1; k <= trail; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += trail + 1;
    }
    return true;
}

// The page 8-bit strings are read in: any page the shared layer decodes, but
// never a UTF-16 one, which cannot describe a zero-terminated byte string.
uint32_t source_page(uint32_t code_page)
{
    if (code_page == 1200 || code_page == 1201 || !codepage::isSupported(code_page))
        return 1252;
    return codepage::labelledTextPage(code_page);
}

} // namespace

extern "C" {

char* tnef_string_to_utf8(const char* text, size_t length, uint32_t code_page)
{
    if (!text || length == 0)
        return nullptr;
    const unsigned char* bytes = (const unsigned char*)text;
    if (is_utf8(bytes, length))
        return tnef_strndup(text, length);

    const uint32_t page = source_page(code_page);
    try {
        std::u16string wide;
        bool decoded = codepage::decodeStrict(page, text, length, wide);
        if (!decoded && page != 1252)
            decoded = codepage::decodeStrict(1252, text, length, wide);
        if (!decoded) {
            // 1252 is total, so this is only reached if its table is missing.
            return tnef_strndup(text, length);
        }
        const std::string utf8 = codepage::utf16ToUtf8(wide.data(), wide.size());
        return tnef_strndup(utf8.data(), utf8.size());
    } catch (...) {
        return tnef_strndup(text, length);
    }
}

} // extern "C"
