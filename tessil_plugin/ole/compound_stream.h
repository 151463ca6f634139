#pragma once

// One stream of a CompoundFile, read from a position that starts at 0.

#include "ole/directory_entry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CompoundFile;

class CompoundStream
{
public:
    CompoundStream(const CompoundFile* file, const DirectoryEntry& entry, std::vector<std::uint32_t> sectors);

    // The size recorded in the directory; a damaged file may hold fewer bytes.
    std::uint32_t size() const { return entry_.size; }
    // The most bytes the stream's chain can supply: its size, or less when
    // the chain is shorter than the size says.
    std::uint64_t readableSize() const;

    // Reads up to `count` bytes from the current position (never past the
    // recorded size, the chain or the data) and advances by what was read.
    std::size_t read(unsigned char* buffer, std::size_t count);

    // Where the stream's bytes lie when they can be used in place: the
    // offset of its first byte in the file's data, for a stream in regular
    // sectors that follow one another up to its recorded size, all inside
    // the data. None otherwise (the mini stream, a scattered or short chain).
    std::optional<std::uint64_t> contiguousOffset() const;

    std::uint64_t position() const { return position_; }
    void seek(std::uint64_t position) { position_ = position; }

private:
    bool usesMiniStream() const;
    std::size_t unitSize() const;

    const CompoundFile* file_;
    DirectoryEntry entry_;
    std::vector<std::uint32_t> sectors_;
    std::uint64_t position_ = 0;
};
