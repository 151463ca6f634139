#pragma once

// The fixed 512-byte header of an OLE compound file, as far as this reader
// uses it. All integers are little-endian in the file.

#include <cstddef>
#include <cstdint>

struct CompoundHeader
{
    static constexpr std::size_t kSize = 512;
    static constexpr std::size_t kHeaderFatEntries = 109;
    static constexpr std::uint32_t kDefaultCutoff = 4096;

    std::uint16_t sectorShift = 9;
    std::uint16_t miniSectorShift = 6;
    std::uint32_t fatSectorCount = 0;
    std::uint32_t firstDirectorySector = 0;
    std::uint32_t miniStreamCutoff = kDefaultCutoff;
    std::uint32_t firstMiniFatSector = 0;
    std::uint32_t miniFatSectorCount = 0; // informational: the mini FAT's chain decides its length
    std::uint32_t firstDifatSector = 0;
    std::uint32_t difatSectorCount = 0;
    std::uint32_t fatSectors[kHeaderFatEntries] = {};
};

// Whether `data` (at least kSize bytes) starts with the compound-file signature.
bool compound_has_signature(const unsigned char* data, std::size_t size);

// Reads the header fields; `size` must be at least CompoundHeader::kSize.
CompoundHeader compound_read_header(const unsigned char* data, std::size_t size);

// The header's own sanity rules: cutoff, FAT and DIFAT counts, sector shifts.
bool compound_header_is_sane(const CompoundHeader& header);
