#pragma once

// Read-only access to an OLE compound file held in memory. Never throws:
// a file that does not load leaves open() false and a result code; damaged
// chains and directories are cut where they leave the data or loop.

#include "ole/allocation_table.h"
#include "ole/compound_header.h"
#include "ole/compound_stream.h"
#include "ole/directory_entry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CompoundFile
{
public:
    enum Result {
        Ok = 0,
        OpenFailed = 1,
        NotCompoundFile = 2,
        BadCompoundFile = 3,
    };

    // The data is not copied and must outlive the reader and its streams.
    CompoundFile(const unsigned char* data, std::size_t size);
    // Its streams point back to it, so it stays where it is made.
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;

    // Loads header, tables and directory; true when the result is Ok.
    // Opening again reloads.
    bool open();
    Result result() const { return result_; }
    bool isOpen() const { return open_; }

    // The stream at a path such as "/CONTENTS" or "/Storage/Stream"; none
    // when the path is empty, does not resolve or names a storage.
    std::optional<CompoundStream> stream(const std::string& path) const;

    // The stream at directory index `entry` (see DirectoryTree for finding
    // it); none for a storage, an invalid entry or an index outside. Its
    // chain is followed for at most `maxBytes` of the stream, so a hostile
    // recorded size costs no more than the caller allows, and in time that
    // grows with the chain, not with the file: a reader may open thousands
    // of streams. Not for use by two threads at once (the walks share marks).
    std::optional<CompoundStream> streamAt(std::uint32_t entry, std::uint64_t maxBytes) const;

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

    const CompoundHeader& header() const { return header_; }
    const std::vector<DirectoryEntry>& directory() const { return directory_; }

    std::size_t sectorSize() const { return std::size_t(1) << header_.sectorShift; }
    std::size_t miniSectorSize() const { return std::size_t(1) << header_.miniSectorShift; }

    // Copies up to one sector (starting `offset` bytes into it) into `out`,
    // never past the data's end. Returns the number of bytes copied.
    std::size_t copyFromSector(std::uint32_t sector, std::size_t offset, unsigned char* out, std::size_t count) const;
    // The same for a mini sector, located through the mini stream.
    std::size_t copyFromMiniSector(std::uint32_t miniSector, std::size_t offset, unsigned char* out, std::size_t count) const;

private:
    void reset();
    std::vector<unsigned char> readSectors(const std::vector<std::uint32_t>& sectors) const;
    std::vector<std::uint32_t> fatSectorList() const;
    std::size_t sectorsInData() const;

    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    CompoundHeader header_;
    AllocationTable fat_;
    AllocationTable miniFat_;
    std::vector<DirectoryEntry> directory_;
    std::vector<std::uint32_t> miniStreamSectors_;
    mutable ChainWalker fatWalker_{fat_};
    mutable ChainWalker miniFatWalker_{miniFat_};
    bool open_ = false;
    Result result_ = OpenFailed;
};
