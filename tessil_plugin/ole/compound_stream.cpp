#include "ole/compound_stream.h"

#include "ole/compound_file.h"

#include <algorithm>
#include <utility>

CompoundStream::CompoundStream(const CompoundFile* file, const DirectoryEntry& entry, std::vector<std::uint32_t> sectors)
    : file_(file)
    , entry_(entry)
    , sectors_(std::move(sectors))
{
}

bool CompoundStream::usesMiniStream() const
{
    return entry_.size < file_->header().miniStreamCutoff;
}

std::size_t CompoundStream::unitSize() const
{
    return usesMiniStream() ? file_->miniSectorSize() : file_->sectorSize();
}

std::uint64_t CompoundStream::readableSize() const
{
    return std::min<std::uint64_t>(entry_.size, std::uint64_t(sectors_.size()) * unitSize());
}

std::size_t CompoundStream::read(unsigned char* buffer, std::size_t count)
{
    if (!buffer || position_ >= entry_.size)
        return 0;
    std::uint64_t remaining = std::min<std::uint64_t>(count, entry_.size - position_);
    const std::size_t unit = unitSize();
    const bool mini = usesMiniStream();
    std::size_t total = 0;
    while (remaining > 0) {
        const std::uint64_t index = position_ / unit;
        if (index >= sectors_.size())
            break;
        const std::size_t offset = static_cast<std::size_t>(position_ % unit);
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, unit - offset));
        const std::uint32_t sector = sectors_[static_cast<std::size_t>(index)];
        const std::size_t got = mini ? file_->copyFromMiniSector(sector, offset, buffer + total, wanted)
                                     : file_->copyFromSector(sector, offset, buffer + total, wanted);
        total += got;
        position_ += got;
        remaining -= got;
        if (got < wanted)
            break; // the data ends inside this unit
    }
    return total;
}

std::optional<std::uint64_t> CompoundStream::contiguousOffset() const
{
    if (usesMiniStream() || entry_.size == 0 || readableSize() < entry_.size)
        return std::nullopt;
    const std::uint64_t unit = unitSize();
    const std::uint64_t units = (std::uint64_t(entry_.size) + unit - 1) / unit;
    for (std::uint64_t i = 1; i < units; ++i) {
        if (sectors_[i] != sectors_[i - 1] + 1)
            return std::nullopt;
    }
    const std::uint64_t offset = (std::uint64_t(sectors_[0]) + 1) * unit;
    if (offset > file_->size() || entry_.size > file_->size() - offset)
        return std::nullopt;
    return offset;
}
