// MAPI property blocks: a block decodes to properties whose values hold what
// their lengths say, or is reported corrupt; never more.

#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"
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
    // An exact-size heap copy, so that a read one byte past the block is caught.
    std::vector<unsigned char> block(data, data + size);
    fuzzmeter::start();
    MapiProperty** properties = mapi_parse_properties(block.size(), block.data());
    if (properties) {
        for (MapiProperty** p = properties; *p; ++p) {
            const MapiProperty& property = **p;
            if (property.type & PTYP_MULTIPLE)
                std::abort(); // the flag is removed
            if (property.value_count && !property.values)
                std::abort();
            for (std::uint64_t v = 0; v < property.value_count; ++v) {
                const MapiValue& value = property.values[v];
                if (mapi_type_is_variable(property.type)) {
                    if (value.len && !value.data.buf)
                        std::abort();
                    if (value.data.buf)
                        fuzzenv::touch(value.data.buf, value.len + (property.type == PTYP_STRING ? 0 : 1));
                }
            }
            for (std::uint64_t n = 0; n < property.name_count; ++n) {
                const MapiName& name = property.names[n];
                if (!name.text || std::strlen(name.text) > name.len)
                    std::abort();
            }
            if (property.guid)
                fuzzenv::touch(reinterpret_cast<const unsigned char*>(property.guid), sizeof *property.guid);
        }
    }
    mapi_free_properties(properties);
    fuzzmeter::check({"mapi_parse_properties", 16, 4096}, size);
    return 0;
}
