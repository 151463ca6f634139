#include "tnef/utf16le.h"

#include "tnef/tnef_memory.h"

namespace {

unsigned char* put(unsigned char* out, uint32_t cp)
{
    if (cp < 0x80) {
        *out++ = (unsigned char)cp;
    } else if (cp < 0x800) {
        *out++ = (unsigned char)(0xC0 | (cp >> 6));
        *out++ = (unsigned char)(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = (unsigned char)(0xE0 | (cp >> 12));
        *out++ = (unsigned char)(0x80 | ((cp >> 6) & 0x3F));
        *out++ = (unsigned char)(0x80 | (cp & 0x3F));
    } else {
        *out++ = (unsigned char)(0xF0 | (cp >> 18));
        *out++ = (unsigned char)(0x80 | ((cp >> 12) & 0x3F));
        *out++ = (unsigned char)(0x80 | ((cp >> 6) & 0x3F));
        *out++ = (unsigned char)(0x80 | (cp & 0x3F));
    }
    return out;
}

} // namespace

extern "C" {

char* utf16le_to_utf8(size_t length, const unsigned char* bytes)
{
    // Two input bytes never give more than three output bytes: a BMP unit
    // takes at most three, a lone surrogate becomes the three bytes of
    // U+FFFD, and a pair (four input bytes) takes four.
    unsigned char* text = (unsigned char*)checked_xmalloc((uint64_t)length / 2 * 3 + 1, 1);
    if (!text)
        return nullptr;
    unsigned char* out = text;
    const size_t units = length / 2;
    for (size_t i = 0; i < units; ++i) {
        uint32_t unit = (uint32_t)bytes[2 * i] | ((uint32_t)bytes[2 * i + 1] << 8);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const uint32_t low = (uint32_t)bytes[2 * i + 2] | ((uint32_t)bytes[2 * i + 3] << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out = put(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            unit = 0xFFFD;
        out = put(out, unit);
    }
    *out = 0;
    return (char*)text;
}

} // extern "C"
