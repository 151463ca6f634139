#include "tnef/tnef_attribute.h"

#include "tnef/tnef_checksum.h"
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
    uint64_t sum = 0;
    attribute->data = tnef_read_block(reader, attribute->length, &status, &sum, &attribute->borrowed);
    if (!attribute->data)
        return TNEF_ATTRIBUTE_TRUNCATED;
    if (!tnef_read_u16(reader, &attribute->checksum)) {
        tnef_attribute_release(attribute);
        return TNEF_ATTRIBUTE_TRUNCATED;
    }

    attribute->checksum_mismatch = (uint16_t)sum != attribute->checksum;
    if (attribute->checksum_mismatch && (tnef_options & TNEF_OPTION_CHECKSUM_WARNING))
        tnef_diag("WARNING: invalid checksum, input file may be corrupted\n");
    return TNEF_ATTRIBUTE_READ;
}

void tnef_attribute_release(TnefAttribute* attribute)
{
    if (!attribute->borrowed)
        free(attribute->data);
    attribute->data = nullptr;
}

} // extern "C"
