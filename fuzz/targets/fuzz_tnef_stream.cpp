// The TNEF stream decoder on both of its entry points: a memory stream for
// tnef_parse and the fuzzer's own buffer for tnef_parse_buffer. Every input
// must give a result (or a clean error), with every length telling the truth
// about its buffer, within the allocation budget; and both entry points must
// give the same result.

#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"
#include "tnef/tnef.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void touchText(const char* text)
{
    if (text)
        fuzzenv::touch(reinterpret_cast<const unsigned char*>(text), std::strlen(text));
}

// Every value of every saved property is where its ends say, and a
// property's first value is the first of them.
void touchProperties(const TnefProperty* properties, int count)
{
    if (count < 0 || (count > 0 && !properties))
        std::abort();
    for (int i = 0; i < count; ++i) {
        const TnefProperty& p = properties[i];
        fuzzenv::touch(p.data, p.len);
        if (p.values) {
            std::uint64_t begin = 0;
            for (std::uint64_t v = 0; v < p.values->count; ++v) {
                if (p.values->ends[v] < begin)
                    std::abort();
                begin = p.values->ends[v];
            }
            fuzzenv::touch(p.values->bytes, begin);
            const std::uint64_t first = p.values->count ? p.values->ends[0] : 0;
            if (p.values->count && p.data && (first != p.len || std::memcmp(p.values->bytes, p.data, first) != 0))
                std::abort();
        }
        if (p.name)
            touchText(p.name->string_name);
    }
}

void check(const TnefResult* result)
{
    if (!result)
        std::abort(); // only an allocation failure of the record may give null
    if (result->error != 0 && result->error != 1)
        std::abort();

    fuzzenv::touch(result->body, result->body_len);
    fuzzenv::touch(result->html, result->html_len);
    fuzzenv::touch(result->rtf, result->rtf_len);
    touchText(result->subject);
    touchText(result->sender_name);
    touchText(result->sender_email);
    touchText(result->display_to);
    touchText(result->display_cc);
    touchText(result->message_class);
    if (result->attachment_count < 0 || result->property_count < 0)
        std::abort();
    for (int i = 0; i < result->attachment_count; ++i) {
        const TnefAttachment& a = result->attachments[i];
        fuzzenv::touch(a.data, a.len);
        touchText(a.name);
        touchText(a.mime_type);
        touchText(a.content_id);
        // The embedded-object mark follows from the data alone.
        const bool ole = a.len >= 20 && a.data[0] == 0x0B && std::memcmp(a.data + 16, "\xD0\xCF\x11\xE0", 4) == 0;
        if (a.is_ole != (ole ? 1 : 0) || a.ole_offset != (ole ? 16u : 0u))
            std::abort();
        if (a.len == 0)
            std::abort(); // attachments without data are discarded
        touchProperties(a.properties, a.property_count);
    }
    touchProperties(result->properties, result->property_count);
    if (result->recipient_count < 0)
        std::abort();
    for (int i = 0; i < result->recipient_count; ++i) {
        const TnefRecipient& r = result->recipients[i];
        touchText(r.display_name);
        touchText(r.email_address);
        touchText(r.address_type);
        touchText(r.smtp_address);
    }
}

bool sameBytes(const void* a, std::uint64_t aLen, const void* b, std::uint64_t bLen)
{
    return aLen == bLen && (aLen == 0 || std::memcmp(a, b, aLen) == 0);
}

bool sameText(const char* a, const char* b)
{
    return (!a && !b) || (a && b && std::strcmp(a, b) == 0);
}

bool sameProperties(const TnefProperty* s, const TnefProperty* m, int count)
{
    for (int i = 0; i < count; ++i) {
        const TnefProperty& a = s[i];
        const TnefProperty& b = m[i];
        if (a.id != b.id || a.type != b.type || a.multi_valued != b.multi_valued || !sameBytes(a.data, a.len, b.data, b.len)
            || !a.values != !b.values || !a.name != !b.name)
            return false;
        if (a.values && (a.values->count != b.values->count
                         || (a.values->count && !sameBytes(a.values->bytes, a.values->ends[a.values->count - 1], b.values->bytes,
                                                           b.values->ends[b.values->count - 1]))))
            return false;
        if (a.name && (std::memcmp(a.name->guid, b.name->guid, 16) != 0 || a.name->numeric_name != b.name->numeric_name
                       || !sameText(a.name->string_name, b.name->string_name)))
            return false;
    }
    return true;
}

void requireSame(const TnefResult* s, const TnefResult* m)
{
    bool same = s->error == m->error && sameBytes(s->body, s->body_len, m->body, m->body_len)
        && sameBytes(s->html, s->html_len, m->html, m->html_len) && sameBytes(s->rtf, s->rtf_len, m->rtf, m->rtf_len)
        && s->code_page == m->code_page && sameText(s->subject, m->subject) && sameText(s->sender_name, m->sender_name)
        && sameText(s->sender_email, m->sender_email) && sameText(s->display_to, m->display_to)
        && sameText(s->display_cc, m->display_cc) && sameText(s->message_class, m->message_class)
        && s->submit_time == m->submit_time && s->attachment_count == m->attachment_count
        && s->property_count == m->property_count;
    for (int i = 0; same && i < s->attachment_count; ++i) {
        const TnefAttachment& a = s->attachments[i];
        const TnefAttachment& b = m->attachments[i];
        same = sameText(a.name, b.name) && sameBytes(a.data, a.len, b.data, b.len) && sameText(a.mime_type, b.mime_type)
            && sameText(a.content_id, b.content_id) && a.is_ole == b.is_ole && a.ole_offset == b.ole_offset;
    }
    same = same && sameProperties(s->properties, m->properties, s->property_count) && s->recipient_count == m->recipient_count;
    for (int i = 0; same && i < s->attachment_count; ++i) {
        same = s->attachments[i].property_count == m->attachments[i].property_count
            && sameProperties(s->attachments[i].properties, m->attachments[i].properties, s->attachments[i].property_count);
    }
    for (int i = 0; same && i < s->recipient_count; ++i) {
        const TnefRecipient& a = s->recipients[i];
        const TnefRecipient& b = m->recipients[i];
        same = sameText(a.display_name, b.display_name) && sameText(a.email_address, b.email_address)
            && sameText(a.address_type, b.address_type) && sameText(a.smtp_address, b.smtp_address)
            && a.recipient_type == b.recipient_type;
    }
    if (!same)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzenv::initialise(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // fmemopen wants a writable buffer and refuses an empty one.
    std::vector<unsigned char> copy(data, data + size);
    copy.push_back(0);
    fuzzmeter::start();
    FILE* stream = fmemopen(copy.data(), size ? size : 1, "rb");
    if (!stream)
        return 0;
    if (size == 0)
        std::fgetc(stream); // an empty stream
    TnefResult* fromStream = tnef_parse(stream);
    std::fclose(stream);
    check(fromStream);
    fuzzmeter::check({"tnef_parse", 24, 64 * 1024}, size);

    // The fuzzer's buffer has exactly `size` bytes, so the sanitizer sees any
    // read beyond the input.
    fuzzmeter::start();
    TnefResult* fromMemory = tnef_parse_buffer(data, size);
    check(fromMemory);
    fuzzmeter::check({"tnef_parse_buffer", 16, 16 * 1024}, size);
    requireSame(fromStream, fromMemory);
    tnef_free(fromMemory);
    tnef_free(fromStream);
    return 0;
}
