#pragma once

// A small benchmark registry. Each bench/*_bench.cpp file defines cases and
// registers them with QUORVIA_BENCH_CASE; quorvia_bench runs them in order
// and prints one line per case:
//
//   NAME: X MB/s, Y x memcpy, peak Z MiB
//
// X is the bytes a case reports per run divided by its best run time, Y that
// throughput divided by memcpy's over the same byte count (measured in the
// same process), Z the process's peak resident memory during the case (the
// peak is reset before each case where the kernel allows it).
//
// A case:
//
//   class MyCase : public bench::Case {
//   public:
//       std::uint64_t prepare() override { input_ = makeInput(); return input_.size(); }
//       void run() override { bench::keep(process(input_)); }
//   private:
//       std::string input_;
//   };
//   QUORVIA_BENCH_CASE(MyCase, "my_function on 8 MiB", 50);
//
// prepare() builds the input (not timed) and returns the byte count one run
// processes; run() is timed. Lower orders run first.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bench {

class Case
{
public:
    virtual ~Case() = default;
    // Builds the input; returns the number of bytes one run() processes.
    virtual std::uint64_t prepare() = 0;
    // One timed run.
    virtual void run() = 0;
    // Minimum throughput relative to memcpy (0: none). Missing it makes
    // quorvia_bench exit with a failure after printing every case.
    virtual double memcpyFloor() const { return 0; }
    // Maximum peak resident memory in MiB (0: none).
    virtual double peakCeilingMiB() const { return 0; }
    // Whether prepare() writes its input to a file (through scratchPath()),
    // which `quorvia_bench --write-inputs DIR` then keeps for other programs.
    virtual bool writesInputFile() const { return false; }
    // That file, after prepare().
    virtual std::string inputPath() const { return {}; }
};

using Factory = std::function<std::unique_ptr<Case>()>;

struct Registration {
    std::string name;
    int order;
    Factory factory;
};

// Every registered case, in registration order.
std::vector<Registration>& registry();

struct Registrar {
    Registrar(const char* name, int order, Factory factory);
};

// Best wall-clock seconds of one call of `fn`: at least three calls and at
// least `minSeconds` in total, at most `maxRuns` calls.
double bestSeconds(const std::function<void()>& fn, double minSeconds = 1.0, int maxRuns = 30);

// Best seconds of a memcpy of `bytes` bytes between two buffers already
// touched (their allocation is not timed).
double memcpySeconds(std::uint64_t bytes);

// Peak resident memory of the process in MiB (VmHWM), or -1 when unknown.
double peakResidentMiB();

// CPU time of the calling thread in seconds: other processes on a busy
// machine disturb it much less than wall-clock time.
double threadCpuSeconds();

// The best wall-clock and thread CPU seconds over the runs of one case, for
// cases that set their times against each other's.
struct BestTimes
{
    double seconds = 1e300;
    double cpuSeconds = 1e300;

    bool measured() const { return seconds < 1e300; }

    template <typename Run>
    void time(Run&& run);
};

// Resets the peak to the current resident size; false when not supported.
bool resetPeakResident();

// A path for a scratch file in the temporary folder; removed on exit. After
// keepInputsIn(), a path named `stem` in that folder instead, kept.
std::string scratchPath(const std::string& stem);
void keepInputsIn(const std::string& folder);

// Keeps the compiler from dropping a result.
void keep(const void* p);
void keep(std::uint64_t value);

template <typename Run>
void BestTimes::time(Run&& run)
{
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuSeconds();
    run();
    const double cpu = threadCpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpuSeconds = cpu < cpuSeconds ? cpu : cpuSeconds;
    seconds = wall < seconds ? wall : seconds;
}

} // namespace bench

#define QUORVIA_BENCH_CONCAT_(a, b) a##b
#define QUORVIA_BENCH_CONCAT(a, b) QUORVIA_BENCH_CONCAT_(a, b)
#define QUORVIA_BENCH_CASE(CaseClass, name, order)                                                   \
    static const ::bench::Registrar QUORVIA_BENCH_CONCAT(quorvia_bench_registrar_, __LINE__)(       \
        name, order, [] { return std::unique_ptr<::bench::Case>(new CaseClass()); })
