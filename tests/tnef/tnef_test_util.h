#pragma once

// Shared by the decoder and resource tests: decoding through a file or a
// pipe, capturing the diagnostics, and the heap held at the peak of a call.

#include "tnef/tnef.h"

#include <QByteArray>
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
#define TNEF_TEST_HEAP 1
#else
#define TNEF_TEST_HEAP 0
#endif

namespace tneftest {

struct ResultDeleter {
    void operator()(TnefResult* r) const { tnef_free(r); }
};
using Result = std::unique_ptr<TnefResult, ResultDeleter>;

inline QByteArray bytesOf(const void* data, uint64_t len)
{
    return data ? QByteArray(static_cast<const char*>(data), qsizetype(len)) : QByteArray();
}
inline QByteArray str(const char* s) { return s ? QByteArray(s) : QByteArray(); }

// A seekable file, as the loader hands over, or a pipe, whose size is unknown.
inline Result parse(const QByteArray& bytes, bool pipe = false)
{
    const auto write = [&bytes](FILE* out) { std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out); };
    FILE* in = nullptr;
    std::thread writer;
    int fds[2];
    if (pipe && ::pipe(fds) == 0) {
        in = fdopen(fds[0], "rb");
        writer = std::thread([&write, fd = fds[1]] {
            FILE* out = fdopen(fd, "wb");
            write(out);
            std::fclose(out);
        });
    } else {
        in = std::tmpfile();
        write(in);
        std::rewind(in);
    }
    Result r(tnef_parse(in));
    if (writer.joinable())
        writer.join();
    std::fclose(in);
    return r;
}

// Collects the decoder's diagnostics while it lives, without the trace lines.
class Diagnostics
{
public:
    Diagnostics() : previous_(tnef_diagnostics()), file_(std::tmpfile()) { tnef_set_diagnostics(file_); }
    ~Diagnostics()
    {
        tnef_set_diagnostics(previous_);
        std::fclose(file_);
    }
    QStringList messages() const
    {
        QByteArray text(std::ftell(file_), '\0');
        std::rewind(file_);
        text.truncate(qsizetype(std::fread(text.data(), 1, size_t(text.size()), file_)));
        QStringList out;
        for (const QString& line : QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (!line.startsWith(QLatin1String("[ATTR]")) && !line.startsWith(QLatin1String("[SAVE]")))
                out.append(line);
        return out;
    }

private:
    FILE* previous_;
    FILE* file_;
};

// Heap held at the peak (above what was live at the start) while it lives;
// every allocation of the process counts, Qt's and ICU's included.
class HeapPeak
{
public:
    static bool available() { return TNEF_TEST_HEAP; }
    HeapPeak()
    {
#if TNEF_TEST_HEAP
        static const int installed = __sanitizer_install_malloc_and_free_hooks(
            [](const volatile void*, size_t n) {
                const long long now = live_ += (long long)n;
                for (long long seen = high_; now > seen && !high_.compare_exchange_weak(seen, now);) {}
            },
            [](const volatile void* p) { live_ -= p ? (long long)__sanitizer_get_allocated_size(p) : 0; });
        (void)installed;
#endif
        base_ = high_ = live_.load();
    }
    size_t peak() const { return size_t(high_ - base_); }

private:
    static inline std::atomic<long long> live_{0}, high_{0};
    long long base_;
};

} // namespace tneftest
