#pragma once

// Bounds-checked reading primitives: little-endian integers and byte blocks
// from the input (a stdio stream or bytes in memory), and little-endian
// integers from memory.
//
// A block's length comes from the input, so it is never trusted for an
// allocation: on a seekable stream a length beyond the bytes that remain is
// refused before anything is allocated, and on a pipe the block is read in
// bounded chunks so memory only grows with bytes that actually arrived. From
// memory nothing is allocated at all: a block is a view of the input.

#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TnefReader {
    FILE* stream;                 // null when reading from memory
    const unsigned char* memory;  // the input when reading from memory
    int seekable;                 // 1 when the input's size is known (always for memory)
    uint64_t position;            // offset of the next byte to read
    uint64_t size;                // the input's size, when seekable
} TnefReader;

// Binds a reader to a stream at its current position.
void tnef_reader_init(TnefReader* reader, FILE* stream);

// Binds a reader to `size` bytes in memory, which must outlive it.
void tnef_reader_init_memory(TnefReader* reader, const unsigned char* data, uint64_t size);

// Bytes left in a seekable stream; UINT64_MAX when the size is unknown.
uint64_t tnef_reader_remaining(const TnefReader* reader);

// Reads up to `count` bytes into `out`; returns how many arrived.
size_t tnef_read_some(TnefReader* reader, void* out, size_t count);

// Each returns 1 on success and 0 when the stream ends first.
int tnef_read_u8(TnefReader* reader, uint8_t* out);
int tnef_read_u16(TnefReader* reader, uint16_t* out);
int tnef_read_u32(TnefReader* reader, uint32_t* out);

typedef enum TnefBlockStatus {
    TNEF_BLOCK_OK = 0,
    TNEF_BLOCK_SHORT = 1,       // the stream ends inside the block
    TNEF_BLOCK_NO_MEMORY = 2,   // the block exists but cannot be held
} TnefBlockStatus;

// Reads a block of `length` bytes, adding them to `sum` (when not null).
// From a stream: a new buffer of length + 1 bytes whose last byte is zero,
// owned by the caller. From memory: the block where it lies in the input
// (not followed by a zero), or a static empty block for length 0;
// `*borrowed` tells which. Returns null and sets `status` when the block
// cannot be read whole; nothing partial is ever returned.
unsigned char* tnef_read_block(TnefReader* reader, uint64_t length, TnefBlockStatus* status, uint64_t* sum,
                               int* borrowed);

// Whether `block` is the static empty block that tnef_read_block() gives for
// a zero-length block of the memory input.
int tnef_is_static_empty_block(const void* block);

// Little-endian integers at a pointer (the caller checks the bounds).
uint16_t tnef_le16(const unsigned char* bytes);
uint32_t tnef_le32(const unsigned char* bytes);
uint64_t tnef_le64(const unsigned char* bytes);

#ifdef __cplusplus
}
#endif
