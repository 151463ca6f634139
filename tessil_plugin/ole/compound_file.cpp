#include "ole/compound_file.h"

#include "ole/little_endian.h"

#include <algorithm>
#include <cstring>

CompoundFile::CompoundFile(const unsigned char* data, std::size_t size)
    : data_(data)
    , size_(data ? size : 0)
{
    reset();
}

void CompoundFile::reset()
{
    header_ = CompoundHeader();
    fat_.clear();
    miniFat_.clear();
    miniStreamSectors_.clear();
    directory_.clear();
    DirectoryEntry root;
    root.valid = true;
    root.name = "Root Entry";
    root.is_storage = true;
    directory_.push_back(root);
    fatWalker_ = ChainWalker(fat_);
    miniFatWalker_ = ChainWalker(miniFat_);
    open_ = false;
    result_ = OpenFailed;
}

std::size_t CompoundFile::sectorsInData() const
{
    // Sector n begins at (n + 1) * sector size; count those that begin
    // before the data ends (the last one may be cut short).
    const std::size_t sector = sectorSize();
    if (size_ <= sector)
        return 0;
    return (size_ - sector + sector - 1) / sector;
}

std::size_t CompoundFile::copyFromSector(std::uint32_t sector, std::size_t offset, unsigned char* out,
                                         std::size_t count) const
{
    const std::uint64_t sectorBytes = sectorSize();
    if (offset >= sectorBytes)
        return 0;
    const std::uint64_t begin = (std::uint64_t(sector) + 1) * sectorBytes + offset;
    if (begin >= size_)
        return 0;
    const std::size_t n = static_cast<std::size_t>(
        std::min<std::uint64_t>({std::uint64_t(count), sectorBytes - offset, std::uint64_t(size_) - begin}));
    if (n)
        std::memcpy(out, data_ + begin, n);
    return n;
}

std::size_t CompoundFile::copyFromMiniSector(std::uint32_t miniSector, std::size_t offset, unsigned char* out,
                                             std::size_t count) const
{
    const std::uint64_t miniBytes = miniSectorSize();
    if (offset >= miniBytes)
        return 0;
    const std::uint64_t position = std::uint64_t(miniSector) * miniBytes;
    const std::uint64_t index = position / sectorSize();
    if (index >= miniStreamSectors_.size())
        return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, miniBytes - offset));
    return copyFromSector(miniStreamSectors_[static_cast<std::size_t>(index)],
                          static_cast<std::size_t>(position % sectorSize()) + offset, out, n);
}

std::vector<unsigned char> CompoundFile::readSectors(const std::vector<std::uint32_t>& sectors) const
{
    // Every caller passes sectors that begin inside the data, so this stays
    // within about the data's size; a short last sector is zero-filled.
    const std::size_t sector = sectorSize();
    std::vector<unsigned char> bytes(sectors.size() * sector, 0);
    for (std::size_t i = 0; i < sectors.size(); ++i)
        copyFromSector(sectors[i], 0, bytes.data() + i * sector, sector);
    return bytes;
}

std::vector<std::uint32_t> CompoundFile::fatSectorList() const
{
    // FAT sectors beyond those that describe the data's own sectors add
    // nothing readable, and a hostile count (up to 2^32 - 1) must not turn
    // into an allocation, so the list stops there.
    const std::size_t entriesPerSector = sectorSize() / 4;
    const std::size_t needed = (sectorsInData() + entriesPerSector - 1) / entriesPerSector;
    const std::size_t limit = std::min<std::size_t>(header_.fatSectorCount, needed);

    std::vector<std::uint32_t> list;
    for (std::size_t i = 0; i < CompoundHeader::kHeaderFatEntries && list.size() < limit; ++i)
        list.push_back(header_.fatSectors[i]);

    // The DIFAT walk needs a buffer of one sector, which a hostile sector
    // size makes far larger than the data: only walk when it can add a sector.
    if (header_.fatSectorCount <= CompoundHeader::kHeaderFatEntries || header_.difatSectorCount == 0
        || list.size() >= limit)
        return list;

    const std::size_t available = sectorsInData();
    const std::size_t sector = sectorSize();
    std::vector<bool> seen(available, false);
    std::vector<unsigned char> buffer(sector);
    std::uint32_t difat = header_.firstDifatSector;
    for (std::uint32_t n = 0; n < header_.difatSectorCount && list.size() < limit; ++n) {
        if (difat >= available || seen[difat])
            break;
        seen[difat] = true;
        std::fill(buffer.begin(), buffer.end(), 0);
        copyFromSector(difat, 0, buffer.data(), sector);
        for (std::size_t offset = 0; offset + 8 <= sector && list.size() < limit; offset += 4)
            list.push_back(ole_read_u32(buffer.data() + offset));
        difat = ole_read_u32(buffer.data() + sector - 4);
    }
    return list;
}

bool CompoundFile::open()
{
    reset();
    if (size_ < CompoundHeader::kSize) {
        result_ = NotCompoundFile;
        return false;
    }
    if (!compound_has_signature(data_, size_)) {
        result_ = NotCompoundFile;
        return false;
    }
    const CompoundHeader header = compound_read_header(data_, size_);
    if (!compound_header_is_sane(header)) {
        result_ = BadCompoundFile;
        return false;
    }
    header_ = header;

    allocation_append_entries(fat_, readSectors(fatSectorList()));
    // Only sectors that begin inside the data can be read, so every chain
    // stops before it leaves the data.
    if (fat_.size() > sectorsInData())
        fat_.resize(sectorsInData());

    allocation_append_entries(miniFat_, readSectors(allocation_chain(fat_, header_.firstMiniFatSector)));

    const std::vector<unsigned char> directoryBytes = readSectors(allocation_chain(fat_, header_.firstDirectorySector));
    directory_.clear();
    directory_.reserve(directoryBytes.size() / DirectoryEntry::kSize);
    for (std::size_t offset = 0; offset + DirectoryEntry::kSize <= directoryBytes.size(); offset += DirectoryEntry::kSize)
        directory_.push_back(directory_entry_decode(directoryBytes.data() + offset));

    if (!directory_.empty())
        miniStreamSectors_ = allocation_chain(fat_, directory_.front().start);
    // Mini sectors past the mini stream's end cannot be read either.
    const std::uint64_t miniSectorsInStream =
        std::uint64_t(miniStreamSectors_.size()) * sectorSize() / miniSectorSize();
    if (miniFat_.size() > miniSectorsInStream)
        miniFat_.resize(static_cast<std::size_t>(miniSectorsInStream));

    result_ = Ok;
    open_ = true;
    return true;
}

std::optional<CompoundStream> CompoundFile::stream(const std::string& path) const
{
    if (path.empty() || directory_.empty())
        return std::nullopt;

    std::uint32_t current = 0;
    std::size_t begin = path[0] == '/' ? 1 : 0;
    while (begin < path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        const std::string component = path.substr(begin, end - begin);
        begin = end + 1;

        bool found = false;
        std::uint32_t match = 0;
        for (std::uint32_t child : directory_children(directory_, current)) {
            const DirectoryEntry& entry = directory_[child];
            // Later matches win, as the directory lists them.
            if (entry.valid && entry.name.size() >= 2 && entry.name == component) {
                match = child;
                found = true;
            }
        }
        if (!found)
            return std::nullopt;
        current = match;
    }

    const DirectoryEntry& entry = directory_[current];
    if (entry.is_storage)
        return std::nullopt;
    const AllocationTable& table = entry.size >= header_.miniStreamCutoff ? fat_ : miniFat_;
    return CompoundStream(this, entry, allocation_chain(table, entry.start));
}

std::optional<CompoundStream> CompoundFile::streamAt(std::uint32_t entry, std::uint64_t maxBytes) const
{
    if (!open_ || entry == 0 || entry >= directory_.size() || !directory_[entry].valid || directory_[entry].is_storage)
        return std::nullopt;
    const DirectoryEntry& found = directory_[entry];
    const bool mini = found.size < header_.miniStreamCutoff;
    const std::uint64_t unit = mini ? miniSectorSize() : sectorSize();
    const std::uint64_t wanted = std::min<std::uint64_t>(found.size, maxBytes);
    const std::uint64_t units = (wanted + unit - 1) / unit;
    ChainWalker& walker = mini ? miniFatWalker_ : fatWalker_;
    return CompoundStream(this, found, walker.chain(found.start, units));
}
