#pragma once

// Writes compound files (the container of .msg files) straight to disk for
// the benchmarks, so that inputs of many megabytes are never held in memory
// whole: 512-byte sectors, small streams in the mini stream, large ones in
// consecutive regular sectors produced piece by piece, a FAT extended
// through DIFAT sectors. (The tests build theirs with
// tests/support/cfb_writer.h, in memory.)

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

class CompoundFileWriter
{
public:
    // Paths are "/Name" or "/Storage/Name"; parent storages are made.
    void addStream(const std::string& path, const std::string& bytes);
    // A stream of `size` bytes (at least 4096) that `fill` produces in pieces.
    void addLargeStream(const std::string& path, std::uint64_t size,
                        const std::function<void(unsigned char*, size_t)>& fill);

    // Lays the large streams out sector by sector in turn (A0 B0 A1 B1 ...),
    // as in a file written by several writers at once, so that no large
    // stream lies in one piece.
    void setInterleaved(bool interleaved) { interleaved_ = interleaved; }

    // Writes the file; returns its size. Throws std::runtime_error when it
    // cannot be written.
    std::uint64_t write(const std::string& path);

private:
    struct Entry
    {
        std::string name;
        bool storage = false;
        int parent = 0;
        std::string bytes;                                   // a small stream's data
        std::uint64_t size = 0;                              // a large stream's size
        std::function<void(unsigned char*, size_t)> fill;   // a large stream's producer
        std::uint32_t start = 0xFFFFFFFE;
    };
    int storage(const std::string& path);
    int add(const std::string& path, Entry entry);

    bool interleaved_ = false;
    std::vector<Entry> entries_{Entry{"Root Entry", true, -1, {}, 0, {}, 0xFFFFFFFE}};
    std::vector<std::string> paths_{"/"};
};

} // namespace bench
