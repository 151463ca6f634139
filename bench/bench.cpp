#include "bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <mutex>
#include <string>
#include <unistd.h>

namespace bench {

namespace {

std::vector<std::string>& scratchFiles()
{
    static std::vector<std::string> files;
    return files;
}

void removeScratchFiles()
{
    for (const std::string& f : scratchFiles())
        std::remove(f.c_str());
}

volatile std::uint64_t g_sink;

std::string& keptFolder()
{
    static std::string folder;
    return folder;
}

} // namespace

std::vector<Registration>& registry()
{
    static std::vector<Registration> cases;
    return cases;
}

Registrar::Registrar(const char* name, int order, Factory factory)
{
    registry().push_back(Registration{name, order, std::move(factory)});
}

double bestSeconds(const std::function<void()>& fn, double minSeconds, int maxRuns)
{
    using clock = std::chrono::steady_clock;
    double best = 1e300;
    double total = 0;
    for (int runs = 0; runs < maxRuns && (runs < 3 || total < minSeconds); ++runs) {
        const auto start = clock::now();
        fn();
        const double s = std::chrono::duration<double>(clock::now() - start).count();
        best = std::min(best, s);
        total += s;
    }
    return best;
}

double memcpySeconds(std::uint64_t bytes)
{
    const size_t n = static_cast<size_t>(std::max<std::uint64_t>(bytes, 1));
    std::unique_ptr<unsigned char[]> from(new unsigned char[n]);
    std::unique_ptr<unsigned char[]> to(new unsigned char[n]);
    std::memset(from.get(), 0x5A, n);
    std::memset(to.get(), 0, n);
    const double s = bestSeconds([&] {
        std::memcpy(to.get(), from.get(), n);
        keep(to.get());
    }, 0.5, 50);
    g_sink = g_sink + to[n / 2];
    return s;
}

double peakResidentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;  // kB
    }
    return -1;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

bool resetPeakResident()
{
    FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f)
        return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

void keepInputsIn(const std::string& folder)
{
    keptFolder() = folder;
}

std::string scratchPath(const std::string& stem)
{
    if (!keptFolder().empty())
        return keptFolder() + "/" + stem;
    static std::once_flag once;
    std::call_once(once, [] { std::atexit(removeScratchFiles); });
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/quorvia-bench-" + std::to_string(getpid())
        + "-" + stem;
    scratchFiles().push_back(path);
    return path;
}

void keep(const void* p)
{
    g_sink = g_sink + reinterpret_cast<std::uintptr_t>(p);
}

void keep(std::uint64_t value)
{
    g_sink = g_sink + value;
}

} // namespace bench
