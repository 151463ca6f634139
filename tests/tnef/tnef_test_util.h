#pragma once

// Shared helpers of the decoder tests: running tnef_parse on bytes held in
// memory (through a real file or a pipe), capturing the diagnostics lines, and
// watching allocations while hostile input is decoded.

#include "tnef/tnef.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocator interface (GCC ships the functions but
// not their header).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#define TNEF_TEST_CAN_WATCH_ALLOCATIONS 1
#else
#define TNEF_TEST_CAN_WATCH_ALLOCATIONS 0
#endif

namespace tneftest {

struct ResultDeleter {
    void operator()(TnefResult* r) const { tnef_free(r); }
};
using Result = std::unique_ptr<TnefResult, ResultDeleter>;

// Decodes `bytes` from a seekable temporary file, as the message loader does.
inline Result parseFile(const QByteArray& bytes)
{
    FILE* f = std::tmpfile();
    if (!f)
        return nullptr;
    if (!bytes.isEmpty())
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
    std::rewind(f);
    Result r(tnef_parse(f));
    std::fclose(f);
    return r;
}

// Decodes `bytes` from a pipe, whose size the decoder cannot know.
inline Result parsePipe(const QByteArray& bytes)
{
    int fds[2];
    if (pipe(fds) != 0)
        return nullptr;
    std::thread writer([&bytes, fd = fds[1]] {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        close(fd);
    });
    FILE* f = fdopen(fds[0], "rb");
    Result r(f ? tnef_parse(f) : nullptr);
    if (f)
        std::fclose(f);
    else
        close(fds[0]);
    writer.join();
    return r;
}

// Sends the decoder's diagnostics to a temporary file while it lives.
class Diagnostics
{
public:
    Diagnostics() : previous_(tnef_diagnostics()), file_(std::tmpfile()) { tnef_set_diagnostics(file_); }
    ~Diagnostics()
    {
        tnef_set_diagnostics(previous_);
        if (file_)
            std::fclose(file_);
    }
    Diagnostics(const Diagnostics&) = delete;
    Diagnostics& operator=(const Diagnostics&) = delete;

    QByteArray text() const
    {
        QByteArray out;
        if (!file_)
            return out;
        std::fflush(file_);
        const long end = std::ftell(file_);
        std::rewind(file_);
        out.resize(end);
        if (end > 0 && std::fread(out.data(), 1, size_t(end), file_) != size_t(end))
            out.clear();
        std::fseek(file_, 0, SEEK_END);
        return out;
    }
    QStringList lines() const
    {
        QStringList out = QString::fromUtf8(text()).split(QLatin1Char('\n'));
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }
    // The lines without the per-attribute and per-property trace.
    QStringList messages() const
    {
        QStringList out;
        for (const QString& line : lines())
            if (!line.startsWith(QLatin1String("[ATTR]")) && !line.startsWith(QLatin1String("[SAVE]")))
                out.append(line);
        return out;
    }

private:
    FILE* previous_;
    FILE* file_;
};

// Watches every allocation made while it is active: the largest single
// request and the peak of live bytes. Relies on the sanitizer allocator's
// hooks, so it only measures in sanitizer builds (available() says so).
class AllocationWatch
{
public:
    static bool available() { return TNEF_TEST_CAN_WATCH_ALLOCATIONS; }

    AllocationWatch()
    {
#if TNEF_TEST_CAN_WATCH_ALLOCATIONS
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(&onMalloc, &onFree) != 0;
        (void)installed;
        state() = State{};
        state().active = true;
#endif
    }
    ~AllocationWatch() { state().active = false; }

    size_t largest() const { return state().largest; }
    size_t peak() const { return state().peak; }

private:
    struct State {
        bool active = false;
        size_t largest = 0;
        size_t live = 0;
        size_t peak = 0;
    };
    static State& state()
    {
        static State s;
        return s;
    }
    static void onMalloc(const volatile void*, size_t size)
    {
        State& s = state();
        if (!s.active)
            return;
        if (size > s.largest)
            s.largest = size;
        s.live += size;
        if (s.live > s.peak)
            s.peak = s.live;
    }
    static void onFree(const volatile void* p)
    {
#if TNEF_TEST_CAN_WATCH_ALLOCATIONS
        State& s = state();
        if (!s.active || !p)
            return;
        const size_t size = __sanitizer_get_allocated_size(p);
        s.live = size > s.live ? 0 : s.live - size;
#else
        (void)p;
#endif
    }
};

inline QByteArray bytesOf(const unsigned char* data, uint64_t len)
{
    return data ? QByteArray(reinterpret_cast<const char*>(data), qsizetype(len)) : QByteArray();
}

} // namespace tneftest
