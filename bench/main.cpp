// quorvia_bench: runs the registered cases (all, or those whose names contain
// one of the arguments) and prints one line per case. Exits with 1 when a
// case misses the floor or ceiling it declares.
//
// quorvia_bench --write-inputs DIR writes the generated input files of the
// cases that read files into DIR, prints their paths and runs nothing, so
// that end-to-end measurements (bench/end_to_end.sh) use the same inputs.

#include "bench.h"

#include <algorithm>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    std::vector<bench::Registration> cases = bench::registry();
    std::stable_sort(cases.begin(), cases.end(),
                     [](const bench::Registration& a, const bench::Registration& b) { return a.order < b.order; });

    if (argc == 3 && std::string(argv[1]) == "--write-inputs") {
        bench::keepInputsIn(argv[2]);
        for (const bench::Registration& reg : cases) {
            std::unique_ptr<bench::Case> c = reg.factory();
            if (c->writesInputFile()) {
                c->prepare();
                std::printf("%s\n", c->inputPath().c_str());
            }
        }
        return 0;
    }

    int missed = 0;
    for (const bench::Registration& reg : cases) {
        if (argc > 1) {
            bool wanted = false;
            for (int i = 1; i < argc; ++i)
                wanted = wanted || reg.name.find(argv[i]) != std::string::npos;
            if (!wanted)
                continue;
        }
        std::unique_ptr<bench::Case> c = reg.factory();
        const std::uint64_t bytes = c->prepare();
        // The peak is taken before memcpy's own buffers exist.
        bench::resetPeakResident();
        const double seconds = bench::bestSeconds([&] { c->run(); });
        const double peak = bench::peakResidentMiB();
        const double floor = c->memcpyFloor();
        const double ceiling = c->peakCeilingMiB();
        c.reset();
        const double copy = bench::memcpySeconds(bytes);

        const double mbPerSecond = double(bytes) / 1e6 / seconds;
        const double ratio = copy / seconds;
        std::printf("%s: %.1f MB/s, %.3f x memcpy, peak %.1f MiB\n", reg.name.c_str(), mbPerSecond, ratio, peak);
        std::fflush(stdout);
        if (floor > 0 && ratio < floor) {
            std::fprintf(stderr, "%s: below its floor of %.3f x memcpy\n", reg.name.c_str(), floor);
            ++missed;
        }
        if (ceiling > 0 && peak > ceiling) {
            std::fprintf(stderr, "%s: peak above its ceiling of %.1f MiB\n", reg.name.c_str(), ceiling);
            ++missed;
        }
    }
    return missed ? 1 : 0;
}
