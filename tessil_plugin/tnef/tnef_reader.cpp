#include "tnef/tnef_reader.h"

#include "common/huge_pages.h"
#include "tnef/tnef_checksum.h"
#include "tnef/tnef_memory.h"

#include <stdlib.h>
#include <string.h>
#include <sys/types.h>

namespace {

// Growth step for streams of unknown size: large enough for throughput,
// small enough that a lying length costs little before the stream runs dry.
const uint64_t kChunk = 1u << 20;

// Blocks are read in pieces that stay in the cache, so that summing each
// piece right after it arrives does not fetch it from memory a second time.
const size_t kSumPiece = 256u << 10;

// What a zero-length block of the memory input points to: never null (a null
// block means failure), never one past the caller's bytes.
const unsigned char kEmptyBlock[1] = {0};

// Reads `count` bytes to `out` piece by piece, adding them to `sum` when
// asked; returns how many arrived.
size_t read_and_sum(TnefReader* reader, unsigned char* out, size_t count, uint64_t* sum)
{
    size_t done = 0;
    while (done < count) {
        const size_t want = count - done < kSumPiece ? count - done : kSumPiece;
        const size_t got = tnef_read_some(reader, out + done, want);
        if (sum)
            *sum = tnef_checksum_add(*sum, out + done, got);
        done += got;
        if (got < want)
            break;
    }
    return done;
}

unsigned char* read_known_size(TnefReader* reader, uint64_t length, TnefBlockStatus* status, uint64_t* sum)
{
    if (length > tnef_reader_remaining(reader)) {
        *status = TNEF_BLOCK_SHORT;
        return nullptr;
    }
    unsigned char* buffer = (unsigned char*)checked_xmalloc(length + 1, 1);
    if (!buffer) {
        *status = TNEF_BLOCK_NO_MEMORY;
        return nullptr;
    }
    memoryhint::preferHugePages(buffer, length + 1);
    if (read_and_sum(reader, buffer, (size_t)length, sum) != length) {
        free(buffer);
        *status = TNEF_BLOCK_SHORT;
        return nullptr;
    }
    buffer[length] = 0;
    return buffer;
}

unsigned char* read_unknown_size(TnefReader* reader, uint64_t length, TnefBlockStatus* status, uint64_t* sum)
{
    uint64_t capacity = (length < kChunk ? length : kChunk) + 1;
    unsigned char* buffer = (unsigned char*)checked_xmalloc(capacity, 1);
    if (!buffer) {
        *status = TNEF_BLOCK_NO_MEMORY;
        return nullptr;
    }
    uint64_t filled = 0;
    while (filled < length) {
        if (filled + 1 == capacity) {
            uint64_t grown = capacity * 2;
            if (grown > length + 1)
                grown = length + 1;
            unsigned char* bigger = (unsigned char*)checked_xrealloc(buffer, grown, 1);
            if (!bigger) {
                free(buffer);
                *status = TNEF_BLOCK_NO_MEMORY;
                return nullptr;
            }
            buffer = bigger;
            capacity = grown;
            memoryhint::preferHugePages(buffer, capacity);
        }
        const size_t want = (size_t)(capacity - 1 - filled);
        const size_t got = read_and_sum(reader, buffer + filled, want, sum);
        filled += got;
        if (got < want)
            break;
    }
    if (filled != length) {
        free(buffer);
        *status = TNEF_BLOCK_SHORT;
        return nullptr;
    }
    buffer[length] = 0;
    return buffer;
}

unsigned char* view_of_memory(TnefReader* reader, uint64_t length, TnefBlockStatus* status, uint64_t* sum)
{
    if (length > tnef_reader_remaining(reader)) {
        *status = TNEF_BLOCK_SHORT;
        return nullptr;
    }
    if (length == 0)
        return const_cast<unsigned char*>(kEmptyBlock);
    const unsigned char* block = reader->memory + reader->position;
    if (sum)
        *sum = tnef_checksum_add(*sum, block, length);
    reader->position += length;
    // The decoder never writes through a block; the result's pointers are
    // non-const only because the stream path hands over buffers it owns.
    return const_cast<unsigned char*>(block);
}

} // namespace

extern "C" {

int tnef_is_static_empty_block(const void* block)
{
    return block == kEmptyBlock;
}

void tnef_reader_init_memory(TnefReader* reader, const unsigned char* data, uint64_t size)
{
    reader->stream = nullptr;
    reader->memory = data;
    reader->seekable = 1;
    reader->position = 0;
    reader->size = data ? size : 0;
}

void tnef_reader_init(TnefReader* reader, FILE* stream)
{
    reader->stream = stream;
    reader->memory = nullptr;
    reader->seekable = 0;
    reader->position = 0;
    reader->size = 0;

    const off_t start = ftello(stream);
    if (start < 0) {
        clearerr(stream);
        return;
    }
    if (fseeko(stream, 0, SEEK_END) == 0) {
        const off_t end = ftello(stream);
        if (end >= start && fseeko(stream, start, SEEK_SET) == 0) {
            reader->seekable = 1;
            reader->position = (uint64_t)start;
            reader->size = (uint64_t)end;
            return;
        }
    }
    // Not really seekable after all: go back where the caller left it.
    clearerr(stream);
    fseeko(stream, start, SEEK_SET);
    clearerr(stream);
}

uint64_t tnef_reader_remaining(const TnefReader* reader)
{
    if (!reader->seekable)
        return UINT64_MAX;
    return reader->position < reader->size ? reader->size - reader->position : 0;
}

size_t tnef_read_some(TnefReader* reader, void* out, size_t count)
{
    if (count == 0)
        return 0;
    if (!reader->stream) {
        const uint64_t remaining = tnef_reader_remaining(reader);
        const size_t got = remaining < count ? (size_t)remaining : count;
        if (got)
            memcpy(out, reader->memory + reader->position, got);
        reader->position += got;
        return got;
    }
    const size_t got = fread(out, 1, count, reader->stream);
    reader->position += got;
    return got;
}

int tnef_read_u8(TnefReader* reader, uint8_t* out)
{
    return tnef_read_some(reader, out, 1) == 1;
}

int tnef_read_u16(TnefReader* reader, uint16_t* out)
{
    unsigned char bytes[2];
    if (tnef_read_some(reader, bytes, sizeof bytes) != sizeof bytes)
        return 0;
    *out = tnef_le16(bytes);
    return 1;
}

int tnef_read_u32(TnefReader* reader, uint32_t* out)
{
    unsigned char bytes[4];
    if (tnef_read_some(reader, bytes, sizeof bytes) != sizeof bytes)
        return 0;
    *out = tnef_le32(bytes);
    return 1;
}

unsigned char* tnef_read_block(TnefReader* reader, uint64_t length, TnefBlockStatus* status, uint64_t* sum,
                               int* borrowed)
{
    *status = TNEF_BLOCK_OK;
    *borrowed = reader->stream ? 0 : 1;
    if (!reader->stream)
        return view_of_memory(reader, length, status, sum);
    if (length >= (uint64_t)SIZE_MAX) {
        *status = TNEF_BLOCK_NO_MEMORY;
        return nullptr;
    }
    return reader->seekable ? read_known_size(reader, length, status, sum)
                            : read_unknown_size(reader, length, status, sum);
}

uint16_t tnef_le16(const unsigned char* bytes)
{
    return (uint16_t)(bytes[0] | (bytes[1] << 8));
}

uint32_t tnef_le32(const unsigned char* bytes)
{
    return (uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) | ((uint32_t)bytes[2] << 16)
        | ((uint32_t)bytes[3] << 24);
}

uint64_t tnef_le64(const unsigned char* bytes)
{
    return (uint64_t)tnef_le32(bytes) | ((uint64_t)tnef_le32(bytes + 4) << 32);
}

} // extern "C"
