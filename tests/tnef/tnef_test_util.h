#pragma once

// Shared by the decoder and resource tests: decoding through a file or a
// pipe, capturing the diagnostics, and the heap held at the peak of a call.

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

// A seekable file, as the loader hands over, or a pipe, whose size is unknown.
inline Result parse(const QByteArray& bytes, bool pipe = false)
{
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return Result(nullptr, &tnef_free);
    FILE* in = pipe ? popen(qPrintable(QStringLiteral("cat '%1'").arg(file.fileName())), "r") : std::fopen(qPrintable(file.fileName()), "rb");
    Result r(tnef_parse(in), &tnef_free);
    pipe ? pclose(in) : std::fclose(in);
    return r;
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
