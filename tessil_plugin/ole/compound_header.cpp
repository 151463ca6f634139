#include "ole/compound_header.h"

#include "ole/little_endian.h"

#include <cstring>

namespace {

const unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Each DIFAT sector adds this many FAT sector numbers in the classic
// 512-byte layout; the header rule is stated in those terms.
constexpr std::uint64_t kDifatEntriesPerSector = 127;

} // namespace

bool compound_has_signature(const unsigned char* data, std::size_t size)
{
    return data && size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

CompoundHeader compound_read_header(const unsigned char* data, std::size_t size)
{
    CompoundHeader header;
    if (!data || size < CompoundHeader::kSize)
        return header;
    header.sectorShift = ole_read_u16(data + 30);
    header.miniSectorShift = ole_read_u16(data + 32);
    header.fatSectorCount = ole_read_u32(data + 44);
    header.firstDirectorySector = ole_read_u32(data + 48);
    header.miniStreamCutoff = ole_read_u32(data + 56);
    header.firstMiniFatSector = ole_read_u32(data + 60);
    header.miniFatSectorCount = ole_read_u32(data + 64);
    header.firstDifatSector = ole_read_u32(data + 68);
    header.difatSectorCount = ole_read_u32(data + 72);
    for (std::size_t i = 0; i < CompoundHeader::kHeaderFatEntries; ++i)
        header.fatSectors[i] = ole_read_u32(data + 76 + 4 * i);
    return header;
}

bool compound_header_is_sane(const CompoundHeader& header)
{
    if (header.miniStreamCutoff != CompoundHeader::kDefaultCutoff)
        return false;
    if (header.fatSectorCount == 0)
        return false;
    if (header.fatSectorCount > CompoundHeader::kHeaderFatEntries
        && std::uint64_t(header.fatSectorCount)
               > std::uint64_t(header.difatSectorCount) * kDifatEntriesPerSector + CompoundHeader::kHeaderFatEntries)
        return false;
    if (header.fatSectorCount < CompoundHeader::kHeaderFatEntries && header.difatSectorCount != 0)
        return false;
    if (header.miniSectorShift > header.sectorShift)
        return false;
    if (header.sectorShift < 7 || header.sectorShift > 30)
        return false;
    return true;
}
