#pragma once

// Shared by the decoder and resource tests: decoding through a file or a
// pipe, capturing the diagnostics, and the heap held at the peak of a call.

#include "tnef/tnef.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer allocator's interface (GCC ships it without a header).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t), void (*)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void*);
#endif

namespace tneftest {

using Result = std::unique_ptr<TnefResult, decltype(&tnef_free)>;

inline QByteArray bytesOf(const void* data, uint64_t len)
{
    return data ? QByteArray(static_cast<const char*>(data), qsizetype(len)) : QByteArray();
}
inline QByteArray str(const char* s) { return s ? QByteArray(s) : QByteArray(); }

// A seekable file, as the loader hands over, or a pipe, whose size is unknown.
inline Result parse(const QByteArray& bytes, bool pipe = false)
{
    int fds[2];
    FILE* in = pipe && ::pipe(fds) == 0 ? fdopen(fds[0], "rb") : std::tmpfile();
    std::thread writer([&bytes, pipe, &fds, in] {
        FILE* out = pipe ? fdopen(fds[1], "wb") : in;
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
        pipe ? (void)std::fclose(out) : std::rewind(in);
    });
    if (!pipe)
        writer.join();
    Result r(tnef_parse(in), &tnef_free);
    if (pipe)
        writer.join();
    std::fclose(in);
    return r;
}

// Collects the decoder's diagnostics while it lives, without the trace lines.
class Diagnostics
{
public:
    Diagnostics() : previous_(tnef_diagnostics()), file_(std::tmpfile()) { tnef_set_diagnostics(file_); }
    ~Diagnostics() { tnef_set_diagnostics(previous_), std::fclose(file_); }
    QStringList messages() const
    {
        QByteArray text(std::ftell(file_), '\0');
        std::rewind(file_);
        text.truncate(qsizetype(std::fread(text.data(), 1, size_t(text.size()), file_)));
        const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines.filter(QRegularExpression(QStringLiteral("^(?!\\[ATTR\\]|\\[SAVE\\])")));
    }

private:
    FILE* previous_;
    FILE* file_;
};

// Heap held at the peak, above what was live at its start, while it lives;
// every allocation of the process counts. Zero without the sanitizer.
class HeapPeak
{
public:
    static bool available() { return hooked(); }
    HeapPeak() : base_((hooked(), live_.load())) { high_ = base_; }
    size_t peak() const { return size_t(high_ - base_); }

private:
    static bool hooked()
    {
#if defined(__SANITIZE_ADDRESS__)
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(
            [](const volatile void*, size_t n) {
                const long long now = live_ += (long long)n;
                for (long long seen = high_; now > seen && !high_.compare_exchange_weak(seen, now);) {}
            },
            [](const volatile void* p) { live_ -= p ? (long long)__sanitizer_get_allocated_size(p) : 0; });
        return installed;
#else
        return false;
#endif
    }
    static inline std::atomic<long long> live_{0}, high_{0};
    const long long base_;
};

} // namespace tneftest
