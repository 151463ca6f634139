// The TNEF stream decoder on a memory stream: every input must give a result
// (or a clean error), with every length telling the truth about its buffer,
// within the allocation budget.

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
    TnefResult* result = tnef_parse(stream);
    std::fclose(stream);
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
    }
    for (int i = 0; i < result->property_count; ++i)
        fuzzenv::touch(result->properties[i].data, result->properties[i].len);
    tnef_free(result);
    fuzzmeter::check({"tnef_parse", 24, 64 * 1024}, size);
    return 0;
}
