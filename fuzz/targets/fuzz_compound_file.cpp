// The compound-file reader as embedded objects use it: open, look up the
// three candidate streams and read each whole, in one piece and in uneven
// pieces, which must agree. Also lists the directory the reader kept.

#include "ole/compound_file.h"
#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

volatile unsigned sink;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzenv::initialise(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    fuzzmeter::start();
    CompoundFile file(bytes.data(), bytes.size());
    if (!file.open()) {
        if (file.result() == CompoundFile::Ok)
            std::abort();
        fuzzmeter::check({"CompoundFile::open", 8, 64 * 1024}, size);
        return 0;
    }
    for (const DirectoryEntry& entry : file.directory())
        sink = sink + unsigned(entry.name.size());
    for (const char* path : {"/CONTENTS", "/Package", "/Ole10Native"}) {
        std::optional<CompoundStream> stream = file.stream(path);
        if (!stream)
            continue;
        // What extraction does: a buffer of what the chain can supply (the
        // recorded size may be anything), one read.
        if (stream->readableSize() > stream->size())
            std::abort();
        std::vector<unsigned char> whole(stream->readableSize());
        const std::size_t got = stream->read(whole.data(), whole.size());
        if (got > whole.size() || got > stream->readableSize())
            std::abort();
        // The same bytes again in pieces of 1, 7, 64, ... must match.
        stream->seek(0);
        std::vector<unsigned char> pieces(got + 1);
        std::size_t at = 0;
        std::size_t step = 1;
        while (at < got) {
            const std::size_t n = stream->read(pieces.data() + at, std::min(step, got - at));
            if (n == 0)
                break;
            at += n;
            step = step * 7 + 1;
        }
        if (at != got || (got && std::memcmp(whole.data(), pieces.data(), got) != 0))
            std::abort();
    }
    fuzzmeter::check({"CompoundFile open+read", 8, 64 * 1024}, size);
    return 0;
}
