// Compressed RTF: the input is one PidTagRtfCompressed value (16-byte header
// and stream), decoded by rtf_decode_compressed and expanded by
// rtf_decompress. The output never exceeds what the input can expand to.

#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"
#include "tnef/compressed_rtf.h"
#include "tnef/mapi_properties.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzenv::initialise(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // As the property decoder leaves it: the bytes followed by one zero.
    std::vector<unsigned char> value(data, data + size);
    value.push_back(0);

    fuzzmeter::start();
    MapiValue mapiValue{};
    mapiValue.len = size;
    mapiValue.data.buf = value.data();
    MapiProperty property{};
    property.type = PTYP_BINARY;
    property.id = 0x1009;
    property.value_count = 1;
    property.values = &mapiValue;
    RtfBody** bodies = rtf_decode_compressed(&property);
    if (bodies) {
        if (bodies[1])
            std::abort(); // one value, then the null end
        if (bodies[0]) {
            if (bodies[0]->len && !bodies[0]->data)
                std::abort();
            fuzzenv::touch(bodies[0]->data, bodies[0]->len);
            // RAWSIZE is the length of every decompressed body; a CRC mismatch gives 0.
            if (bodies[0]->len != 0 && size >= 16) {
                const std::uint32_t rawSize = fuzzenv::leadingWord(data + 4, 4);
                if (bodies[0]->len != rawSize)
                    std::abort();
            }
        }
        rtf_free_bodies(bodies, 1);
    }
    fuzzmeter::check({"rtf_decode_compressed", 9, 8192}, size);

    // The same value straight into the expander, whatever its CRC says, so
    // that mutated streams are expanded too (a mutation rarely keeps the CRC).
    if (size >= 16) {
        const std::uint32_t rawSize = fuzzenv::leadingWord(data + 4, 4);
        std::vector<unsigned char> stream(data + 16, data + size);
        fuzzmeter::start();
        unsigned char* out = rtf_decompress(stream.data(), stream.size(), rawSize);
        if (out) {
            if (std::uint64_t(rawSize) > std::uint64_t(RTF_MAX_EXPANSION) * (stream.size() + RTF_HEADER_SIZE))
                std::abort(); // more than the stream can ever fill
            fuzzenv::touch(out, rawSize);
            std::free(out);
        }
        fuzzmeter::check({"rtf_decompress", 9, 8192}, size);
    }
    return 0;
}
