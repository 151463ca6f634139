#include "tnef/compressed_rtf.h"

#include "tnef/tnef.h"
#include "tnef/tnef_diagnostics.h"
#include "tnef/tnef_memory.h"
#include "tnef/tnef_reader.h"

#include <stdlib.h>
#include <string.h>

extern "C" {

const char rtf_initial_dictionary[] =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern \\fscript "
    "\\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0\\blue0\r\n"
    "\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
const size_t rtf_initial_dictionary_length = sizeof rtf_initial_dictionary - 1;

} // extern "C"

namespace {

const size_t kDictionaryLength = sizeof rtf_initial_dictionary - 1;
static_assert(kDictionaryLength == 207, "the initial dictionary is 207 bytes long");

const uint32_t kRingMask = RTF_DICTIONARY_SIZE - 1;

// Eight tables so that the CRC advances eight bytes per step ("slicing by
// eight"); table 0 is the classic one.
struct CrcTables {
    uint32_t t[8][256];
    constexpr CrcTables() : t()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int k = 1; k < 8; ++k)
                t[k][i] = t[0][t[k - 1][i] & 0xFF] ^ (t[k - 1][i] >> 8);
    }
};

constexpr CrcTables kCrc;

void overrun()
{
    tnef_diag("RTF buffer overrun, input file may be corrupted\n");
}

// Decoding state shared by the checked and the fast step.
struct Expansion {
    const unsigned char* in;
    size_t length;
    size_t ip;
    unsigned char* out;
    uint64_t raw;
    uint64_t written;
    unsigned char ring[RTF_DICTIONARY_SIZE];
};

enum Step { kContinue, kEnd, kOverrun };

// The most a control byte and its eight tokens can read and write. The fast
// step writes each reference as 17 bytes (the extra ones are overwritten by
// the following tokens, or cleared at the end), hence the slack.
const size_t kGroupInput = 1 + 8 * 2;
const uint64_t kGroupOutput = 8 * 17;

// Copies a reference whose source lies in the output already. Bytes are
// copied one at a time when the source overlaps what is being written, so a
// short distance repeats its pattern.
inline void copy_back(unsigned char* dst, uint64_t distance, uint32_t count)
{
    const unsigned char* src = dst - distance;
    for (uint32_t k = 0; k < count; ++k)
        dst[k] = src[k];
}

// One control byte and its tokens, checking every read and write. Until 4096
// bytes have been written the ring still holds parts of the initial
// dictionary, so references are served from it; from then on every ring slot
// holds a byte that is also in the output, `distance` bytes back, and the
// ring is no longer needed.
Step checked_group(Expansion& e)
{
    if (e.ip >= e.length)
        return kOverrun;
    const unsigned control = e.in[e.ip++];
    for (unsigned bit = 0; bit < 8; ++bit) {
        const uint32_t wpos = (uint32_t)((kDictionaryLength + e.written) & kRingMask);
        if (!(control & (1u << bit))) {
            if (e.ip >= e.length || e.written + 1 > e.raw)
                return kOverrun;
            const unsigned char byte = e.in[e.ip++];
            if (e.written < RTF_DICTIONARY_SIZE)
                e.ring[wpos] = byte;
            e.out[e.written++] = byte;
            continue;
        }
        if (e.length - e.ip < 2)
            return kOverrun;
        const uint32_t reference = ((uint32_t)e.in[e.ip] << 8) | e.in[e.ip + 1];
        e.ip += 2;
        const uint32_t offset = reference >> 4;
        const uint32_t count = (reference & 0x0F) + 2;
        if (offset == wpos)
            return kEnd;
        if (e.written + count > e.raw)
            return kOverrun;
        if (e.written >= RTF_DICTIONARY_SIZE) {
            copy_back(e.out + e.written, (wpos - offset) & kRingMask, count);
            e.written += count;
        } else {
            for (uint32_t k = 0; k < count; ++k) {
                const unsigned char byte = e.ring[(offset + k) & kRingMask];
                e.ring[(wpos + k) & kRingMask] = byte;
                e.out[e.written++] = byte;
            }
        }
    }
    return kContinue;
}

// The same for a group that cannot reach the end of the input or the output
// and lies past the first 4096 bytes, so no bound needs checking per token.
Step fast_group(Expansion& e)
{
    const unsigned char* in = e.in + e.ip;
    unsigned char* out = e.out;
    uint64_t written = e.written;
    const unsigned control = *in++;
    for (unsigned bit = 0; bit < 8; ++bit) {
        if (!(control & (1u << bit))) {
            out[written++] = *in++;
            continue;
        }
        const uint32_t reference = ((uint32_t)in[0] << 8) | in[1];
        in += 2;
        const uint32_t offset = reference >> 4;
        const uint32_t count = (reference & 0x0F) + 2;
        const uint32_t wpos = (uint32_t)((kDictionaryLength + written) & kRingMask);
        if (offset == wpos) {
            e.ip = (size_t)(in - e.in);
            e.written = written;
            return kEnd;
        }
        const uint64_t distance = (wpos - offset) & kRingMask;
        unsigned char* dst = out + written;
        if (distance >= 16) {
            // Index from the source, not as dst[16 - distance]: that wraps
            // an unsigned offset around the address space.
            const unsigned char* src = dst - distance;
            memcpy(dst, src, 16);
            dst[16] = src[16];
        } else {
            copy_back(dst, distance, count);
        }
        written += count;
    }
    e.ip = (size_t)(in - e.in);
    e.written = written;
    return kContinue;
}

// Sets `*overran` (when given) as the stream ends early or runs past RAWSIZE.
unsigned char* expand(const unsigned char* in, size_t length, uint32_t raw_size, unsigned char* out, bool* overran)
{
    Expansion e;
    e.in = in;
    e.length = length;
    e.ip = 0;
    e.out = out;
    e.raw = raw_size;
    e.written = 0;
    memcpy(e.ring, rtf_initial_dictionary, kDictionaryLength);
    memset(e.ring + kDictionaryLength, 0, sizeof e.ring - kDictionaryLength);

    Step step = kContinue;
    while (step == kContinue) {
        const bool roomy = e.written >= RTF_DICTIONARY_SIZE && e.length - e.ip >= kGroupInput
            && e.raw - e.written >= kGroupOutput;
        step = roomy ? fast_group(e) : checked_group(e);
    }
    // Whatever the fast step wrote ahead of the last token is not output.
    const uint64_t tail = e.raw - e.written < 16 ? e.raw - e.written : 16;
    memset(out + e.written, 0, (size_t)tail);
    if (step == kOverrun)
        overrun();
    if (overran)
        *overran = step == kOverrun;
    return out;
}

RtfBody* new_body(uint64_t len, unsigned char* data, uint32_t warnings = 0)
{
    RtfBody* body = (RtfBody*)checked_xmalloc(1, sizeof(RtfBody));
    if (!body) {
        free(data);
        return nullptr;
    }
    body->len = len;
    body->data = data;
    body->warnings = warnings;
    return body;
}

// rtf_decompress(), telling whether the stream was cut short or overlong.
unsigned char* decompress(const unsigned char* data, size_t length, uint32_t raw_size, bool* overran)
{
    if ((uint64_t)raw_size > RTF_MAX_EXPANSION * ((uint64_t)length + RTF_HEADER_SIZE))
        return nullptr;
    unsigned char* out = (unsigned char*)checked_xcalloc(raw_size, 1);
    if (!out)
        return nullptr;
    return expand(data, length, raw_size, out, overran);
}

RtfBody* decode_value(const MapiValue* value)
{
    if (value->len < RTF_HEADER_SIZE || !value->data.buf)
        return nullptr;
    const unsigned char* bytes = value->data.buf;
    const uint32_t raw_size = tnef_le32(bytes + 4);
    const uint32_t comp_type = tnef_le32(bytes + 8);
    const uint32_t crc = tnef_le32(bytes + 12);
    const unsigned char* payload = bytes + RTF_HEADER_SIZE;
    const uint64_t payload_len = value->len - RTF_HEADER_SIZE;

    // No value can honestly expand beyond this; a larger RAWSIZE would only
    // make us allocate what the input cannot back.
    if ((uint64_t)raw_size > RTF_MAX_EXPANSION * value->len)
        return nullptr;

    if (comp_type == RTF_COMPTYPE_MELA) {
        unsigned char* data = (unsigned char*)checked_xcalloc(raw_size, 1);
        if (!data)
            return nullptr;
        memcpy(data, payload, (size_t)(payload_len < raw_size ? payload_len : raw_size));
        return new_body(raw_size, data);
    }
    if (comp_type != RTF_COMPTYPE_LZFU)
        return nullptr;

    if (rtf_crc32(payload, (size_t)payload_len) != crc) {
        tnef_diag("Invalid RTF CRC, input file may be corrupted\n");
        unsigned char* empty = (unsigned char*)checked_xcalloc(4, 1);
        return empty ? new_body(0, empty, TNEF_WARNING_RTF_CHECKSUM) : nullptr;
    }
    bool overran = false;
    unsigned char* data = decompress(payload, (size_t)payload_len, raw_size, &overran);
    return data ? new_body(raw_size, data, overran ? TNEF_WARNING_TRUNCATED : 0) : nullptr;
}

} // namespace

extern "C" {

uint32_t rtf_crc32(const unsigned char* data, size_t length)
{
    uint32_t crc = 0;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        const uint32_t low = crc ^ tnef_le32(data + i);
        const uint32_t high = tnef_le32(data + i + 4);
        crc = kCrc.t[7][low & 0xFF] ^ kCrc.t[6][(low >> 8) & 0xFF] ^ kCrc.t[5][(low >> 16) & 0xFF]
            ^ kCrc.t[4][low >> 24] ^ kCrc.t[3][high & 0xFF] ^ kCrc.t[2][(high >> 8) & 0xFF]
            ^ kCrc.t[1][(high >> 16) & 0xFF] ^ kCrc.t[0][high >> 24];
    }
    for (; i < length; ++i)
        crc = kCrc.t[0][(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

unsigned char* rtf_decompress(const unsigned char* data, size_t length, uint32_t raw_size)
{
    return decompress(data, length, raw_size, nullptr);
}

RtfBody** rtf_decode_compressed(const MapiProperty* property)
{
    const uint64_t count = property ? property->value_count : 0;
    RtfBody** bodies = (RtfBody**)checked_xcalloc(count + 1, sizeof(RtfBody*));
    if (!bodies || !property || !mapi_type_is_variable(property->type))
        return bodies;
    for (uint64_t i = 0; i < count; ++i)
        bodies[i] = decode_value(&property->values[i]);
    return bodies;
}

RtfBody* rtf_decode_compressed_value(const unsigned char* data, size_t length)
{
    MapiValue value;
    memset(&value, 0, sizeof value);
    value.len = length;
    value.data.buf = (unsigned char*)data; // only read
    return decode_value(&value);
}

void rtf_free_body(RtfBody* body)
{
    if (!body)
        return;
    free(body->data);
    free(body);
}

void rtf_free_bodies(RtfBody** bodies, uint64_t count)
{
    if (!bodies)
        return;
    for (uint64_t i = 0; i < count; ++i) {
        if (bodies[i]) {
            free(bodies[i]->data);
            free(bodies[i]);
        }
    }
    free(bodies);
}

} // extern "C"
