#include "tnef/tnef_attribute.h"

#include "tnef/tnef_diagnostics.h"
#include "tnef/tnef_options.h"

#include <stdlib.h>
#include <string.h>

namespace {

const size_t kHeaderSize = 9;  // level, tag, length
// A tail shorter than this is stray padding, never a record.
const size_t kShortestRecord = 8;

} // namespace

extern "C" {

uint16_t tnef_checksum(const unsigned char* data, uint64_t length)
{
    // Summed in wide blocks so the loop vectorises; the block size keeps the
    // 32-bit partial sums from overflowing (255 * 65536 < 2^32).
    uint32_t total = 0;
    uint64_t i = 0;
    while (i < length) {
        uint64_t end = length - i > 65536 ? i + 65536 : length;
        uint32_t partial = 0;
        for (; i < end; ++i)
            partial += data[i];
        total += partial;
    }
    return (uint16_t)total;
}

TnefAttributeStatus tnef_read_attribute(TnefReader* reader, TnefAttribute* attribute)
{
    memset(attribute, 0, sizeof *attribute);

    unsigned char header[kHeaderSize];
    const size_t got = tnef_read_some(reader, header, sizeof header);
    if (got < kShortestRecord)
        return TNEF_ATTRIBUTE_NONE;
    if (got < sizeof header)
        return TNEF_ATTRIBUTE_TRUNCATED;

    attribute->level = header[0];
    attribute->id = tnef_le16(header + 1);
    attribute->type = tnef_le16(header + 3);
    attribute->length = tnef_le32(header + 5);

    TnefBlockStatus status;
    attribute->data = tnef_read_block(reader, attribute->length, &status);
    if (!attribute->data)
        return TNEF_ATTRIBUTE_TRUNCATED;
    if (!tnef_read_u16(reader, &attribute->checksum)) {
        tnef_attribute_release(attribute);
        return TNEF_ATTRIBUTE_TRUNCATED;
    }

    if (tnef_checksum(attribute->data, attribute->length) != attribute->checksum
        && (tnef_options & TNEF_OPTION_CHECKSUM_WARNING))
        tnef_diag("WARNING: invalid checksum, input file may be corrupted\n");
    return TNEF_ATTRIBUTE_READ;
}

void tnef_attribute_release(TnefAttribute* attribute)
{
    free(attribute->data);
    attribute->data = nullptr;
}

} // extern "C"
