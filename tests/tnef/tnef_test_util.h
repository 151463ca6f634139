#pragma once

// Shared by the decoder and resource tests: decoding through a file, a pipe
// or memory, describing a result whole, capturing the diagnostics, and the
// heap held at the peak of a call.

#include "tnef/tnef.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryFile>

#include <atomic>
#include <cstdio>
#include <memory>

// The sanitizer allocator's interface (GCC ships it without a header).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t), void (*)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void*);

namespace tneftest {

using Result = std::unique_ptr<TnefResult, decltype(&tnef_free)>;

inline QByteArray bytesOf(const void* data, uint64_t len) { return data ? QByteArray(static_cast<const char*>(data), qsizetype(len)) : QByteArray(); }
inline QByteArray str(const char* s) { return s ? QByteArray(s) : QByteArray(); }

// Every input parse() was given, so that the memory entry point can be held
// against the stream on all of them.
inline QList<QByteArray>& parsedInputs()
{
    static QList<QByteArray> inputs;
    return inputs;
}

// A seekable file or a pipe, whose size is unknown.
inline Result parse(const QByteArray& bytes, bool pipe = false)
{
    parsedInputs().append(bytes);
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return Result(nullptr, &tnef_free);
    FILE* in = pipe ? popen(qPrintable(QStringLiteral("cat '%1'").arg(file.fileName())), "r") : std::fopen(qPrintable(file.fileName()), "rb");
    Result r(tnef_parse(in), &tnef_free);
    pipe ? pclose(in) : std::fclose(in);
    return r;
}

inline Result parseBuffer(const QByteArray& bytes)
{
    return Result(tnef_parse_buffer(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size())), &tnef_free);
}

// A saved property: "id type", "m" when multi-valued, every value in hex
// (comma-separated) and a named property's GUID and name.
inline QByteArray describe(const TnefProperty& p)
{
    QByteArrayList values;
    if (p.values) {
        for (quint64 i = 0, begin = 0; i < p.values->count; begin = p.values->ends[i++])
            values << bytesOf(p.values->bytes + begin, p.values->ends[i] - begin).toHex();
    } else if (p.data) {
        values << bytesOf(p.data, p.len).toHex();
    }
    QByteArray out = QByteArray::number(p.id, 16) + ' ' + QByteArray::number(p.type, 16) + (p.multi_valued ? " m " : " ") + values.join(',');
    if (p.name)
        out += " @" + bytesOf(p.name->guid, 16).toHex() + ':' + (p.name->string_name ? QByteArray(p.name->string_name) : QByteArray::number(p.name->numeric_name, 16));
    return out;
}

// Every field of a result, for comparing two results whole.
inline QByteArrayList describe(const TnefResult* r)
{
    QByteArrayList out{QByteArray::number(r->error), bytesOf(r->body, r->body_len), bytesOf(r->html, r->html_len), bytesOf(r->rtf, r->rtf_len),
                       QByteArray::number(r->code_page), str(r->subject), str(r->sender_name), str(r->sender_email), str(r->display_to),
                       str(r->display_cc), str(r->message_class), QByteArray::number(r->submit_time), str(r->error_text),
                       QByteArray::number(r->warnings)};
    for (int i = 0; i < r->attachment_count; ++i) {
        const TnefAttachment& a = r->attachments[i];
        out << str(a.name) + '|' + str(a.mime_type) + '|' + str(a.content_id) + '|' + QByteArray::number(a.is_ole) + '|'
                + QByteArray::number(a.ole_offset) + '|' + bytesOf(a.data, a.len);
        for (int k = 0; k < a.property_count; ++k)
            out << "  " + describe(a.properties[k]);
    }
    for (int i = 0; i < r->property_count; ++i)
        out << describe(r->properties[i]) + '/' + bytesOf(r->properties[i].data, r->properties[i].len).toHex();
    for (int i = 0; i < r->recipient_count; ++i) {
        const TnefRecipient& t = r->recipients[i];
        out << str(t.display_name) + '|' + str(t.email_address) + '|' + str(t.address_type) + '|' + str(t.smtp_address) + '|' + QByteArray::number(t.recipient_type);
    }
    return out;
}

// Collects the decoder's diagnostics while it lives, without the trace lines.
struct Diagnostics {
    FILE* previous = tnef_diagnostics();
    FILE* file = std::tmpfile();
    Diagnostics() { tnef_set_diagnostics(file); }
    ~Diagnostics() { tnef_set_diagnostics(previous), std::fclose(file); }
    QStringList messages() const
    {
        QByteArray text(std::ftell(file), '\0');
        std::rewind(file);
        text.truncate(qsizetype(std::fread(text.data(), 1, size_t(text.size()), file)));
        return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QRegularExpression(QStringLiteral("^(?!\\[ATTR\\]|\\[SAVE\\])")));
    }
};

// Heap held at the peak, above what was live at its start, while it lives;
// every allocation of the process counts. Zero without the sanitizer.
class HeapPeak
{
public:
#if defined(__SANITIZE_ADDRESS__)
    static bool available()
    {
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(
            [](const volatile void*, size_t n) { for (long long now = live_ += (long long)n, seen = high_; now > seen && !high_.compare_exchange_weak(seen, now);) {} },
            [](const volatile void* p) { live_ -= p ? (long long)__sanitizer_get_allocated_size(p) : 0; });
        return installed;
    }
#else
    static bool available() { return false; }
#endif
    HeapPeak() : base_((available(), live_.load())) { high_ = base_; }
    size_t peak() const { return size_t(high_ - base_); }

private:
    static inline std::atomic<long long> live_{0}, high_{0};
    const long long base_;
};

} // namespace tneftest
