#include "compound_file_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

constexpr std::uint32_t kSector = 512;
constexpr std::uint32_t kMini = 64;
constexpr std::uint32_t kCutoff = 4096;
constexpr std::uint32_t kPerFatSector = kSector / 4;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatMark = 0xFFFFFFFD;
constexpr std::uint32_t kDifatMark = 0xFFFFFFFC;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

std::uint64_t sectorsFor(std::uint64_t bytes, std::uint64_t unit)
{
    return (bytes + unit - 1) / unit;
}

void put16(unsigned char* at, std::uint16_t v)
{
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
}

void put32(unsigned char* at, std::uint32_t v)
{
    put16(at, static_cast<std::uint16_t>(v));
    put16(at + 2, static_cast<std::uint16_t>(v >> 16));
}

class Output
{
public:
    explicit Output(const std::string& path)
        : file_(std::fopen(path.c_str(), "wb"))
    {
        if (!file_)
            throw std::runtime_error("cannot write " + path);
    }
    ~Output()
    {
        if (file_)
            std::fclose(file_);
    }
    void put(const void* bytes, size_t n)
    {
        if (n && std::fwrite(bytes, 1, n, file_) != n)
            throw std::runtime_error("write failed");
        size_ += n;
    }
    void padTo(std::uint64_t unit)
    {
        static const unsigned char zeros[kSector] = {};
        while (size_ % unit)
            put(zeros, std::min<std::uint64_t>(unit - size_ % unit, sizeof zeros));
    }
    std::uint64_t finish()
    {
        if (std::fclose(file_) != 0)
            throw std::runtime_error("close failed");
        file_ = nullptr;
        return size_;
    }

private:
    FILE* file_;
    std::uint64_t size_ = 0;
};

} // namespace

int CompoundFileWriter::storage(const std::string& path)
{
    if (path.empty() || path == "/")
        return 0;
    for (size_t i = 0; i < paths_.size(); ++i) {
        if (paths_[i] == path)
            return int(i);
    }
    Entry entry;
    entry.storage = true;
    return add(path, entry);
}

int CompoundFileWriter::add(const std::string& path, Entry entry)
{
    const size_t slash = path.rfind('/');
    entry.parent = storage(path.substr(0, slash));
    entry.name = path.substr(slash + 1);
    entries_.push_back(std::move(entry));
    paths_.push_back(path);
    return int(entries_.size() - 1);
}

void CompoundFileWriter::addStream(const std::string& path, const std::string& bytes)
{
    Entry entry;
    entry.bytes = bytes;
    entry.size = bytes.size();
    add(path, entry);
}

void CompoundFileWriter::addLargeStream(const std::string& path, std::uint64_t size,
                                        const std::function<void(unsigned char*, size_t)>& fill)
{
    Entry entry;
    entry.size = std::max<std::uint64_t>(size, kCutoff);
    entry.fill = fill;
    add(path, entry);
}

std::uint64_t CompoundFileWriter::write(const std::string& path)
{
    // Sectors in file order: large streams, the mini stream, the mini FAT,
    // the directory, the FAT, the DIFAT. Each chain is consecutive.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> chains; // first sector, count
    std::uint32_t next = 0;
    const auto chain = [&](std::uint64_t bytes) {
        const std::uint32_t count = std::uint32_t(sectorsFor(bytes, kSector));
        if (count == 0)
            return kEndOfChain;
        chains.push_back({next, count});
        next += count;
        return chains.back().first;
    };
    // Large streams: consecutive, or interleaved sector by sector, each
    // stream's FAT entries then linking every other sector.
    std::vector<size_t> large;
    for (size_t i = 1; i < entries_.size(); ++i) {
        if (!entries_[i].storage && entries_[i].size >= kCutoff)
            large.push_back(i);
    }
    std::vector<std::vector<std::uint32_t>> largeSectors(entries_.size());
    if (interleaved_) {
        std::vector<std::uint64_t> left(entries_.size());
        for (size_t i : large)
            left[i] = sectorsFor(entries_[i].size, kSector);
        for (bool more = true; more;) {
            more = false;
            for (size_t i : large) {
                if (left[i] == 0)
                    continue;
                largeSectors[i].push_back(next++);
                if (--left[i] > 0)
                    more = true;
            }
        }
    } else {
        for (size_t i : large) {
            for (std::uint64_t k = sectorsFor(entries_[i].size, kSector); k > 0; --k)
                largeSectors[i].push_back(next++);
        }
    }
    for (size_t i : large)
        entries_[i].start = largeSectors[i].front();

    std::string miniStream;
    std::vector<std::uint32_t> miniFat;
    for (size_t i = 1; i < entries_.size(); ++i) {
        Entry& entry = entries_[i];
        if (entry.storage || entry.size == 0 || entry.size >= kCutoff)
            continue;
        entry.start = std::uint32_t(miniStream.size() / kMini);
        const std::uint32_t count = std::uint32_t(sectorsFor(entry.size, kMini));
        for (std::uint32_t k = 0; k < count; ++k)
            miniFat.push_back(k + 1 == count ? kEndOfChain : entry.start + k + 1);
        miniStream += entry.bytes;
        miniStream.resize(sectorsFor(miniStream.size(), kMini) * kMini, '\0');
    }
    entries_[0].start = chain(miniStream.size());
    entries_[0].size = miniStream.size();
    std::string miniFatBytes(miniFat.size() * 4, '\0');
    for (size_t k = 0; k < miniFat.size(); ++k)
        put32(reinterpret_cast<unsigned char*>(&miniFatBytes[k * 4]), miniFat[k]);
    miniFatBytes.resize(sectorsFor(miniFatBytes.size(), kSector) * kSector, '\xFF');
    const std::uint32_t miniFatStart = chain(miniFatBytes.size());

    // The directory: each storage's children as a chain of right siblings.
    std::string directory(sectorsFor(entries_.size() * 128, kSector) * kSector, '\0');
    std::vector<std::uint32_t> child(entries_.size(), kNoEntry), right(entries_.size(), kNoEntry);
    std::vector<int> last(entries_.size(), -1);
    for (size_t i = 1; i < entries_.size(); ++i) {
        const int parent = entries_[i].parent;
        (last[parent] < 0 ? child[parent] : right[last[parent]]) = std::uint32_t(i);
        last[parent] = int(i);
    }
    for (size_t i = 0; i < directory.size() / 128; ++i) {
        auto* at = reinterpret_cast<unsigned char*>(&directory[i * 128]);
        put32(at + 68, kNoEntry);
        put32(at + 72, kNoEntry);
        put32(at + 76, kNoEntry);
        if (i >= entries_.size())
            continue;
        const Entry& entry = entries_[i];
        const std::string name = entry.name.substr(0, 31);
        for (size_t c = 0; c < name.size(); ++c)
            put16(at + 2 * c, static_cast<unsigned char>(name[c]));
        put16(at + 64, std::uint16_t((name.size() + 1) * 2));
        at[66] = i == 0 ? 5 : entry.storage ? 1 : 2;
        at[67] = 1;
        put32(at + 72, right[i]);
        put32(at + 76, child[i]);
        put32(at + 116, entry.storage && i != 0 ? 0 : entry.start);
        put32(at + 120, std::uint32_t(entry.storage && i != 0 ? 0 : entry.size));
    }
    const std::uint32_t directoryStart = chain(directory.size());

    const std::uint32_t dataSectors = next;
    std::uint32_t fatCount = 0, difatCount = 0;
    for (;;) {
        const std::uint32_t total = dataSectors + fatCount + difatCount;
        const std::uint32_t neededFat = std::uint32_t(sectorsFor(total, kPerFatSector));
        const std::uint32_t neededDifat = neededFat > 109 ? std::uint32_t(sectorsFor(neededFat - 109, kPerFatSector - 1)) : 0;
        if (neededFat == fatCount && neededDifat == difatCount)
            break;
        fatCount = neededFat;
        difatCount = neededDifat;
    }

    unsigned char header[kSector] = {};
    const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(header, signature, 8);
    put16(header + 24, 0x003E);
    put16(header + 26, 3);
    put16(header + 28, 0xFFFE);
    put16(header + 30, 9);
    put16(header + 32, 6);
    put32(header + 44, fatCount);
    put32(header + 48, directoryStart);
    put32(header + 56, kCutoff);
    put32(header + 60, miniFatStart);
    put32(header + 64, std::uint32_t(miniFatBytes.size() / kSector));
    put32(header + 68, difatCount ? dataSectors + fatCount : kEndOfChain);
    put32(header + 72, difatCount);
    for (std::uint32_t k = 0; k < 109; ++k)
        put32(header + 76 + 4 * k, k < fatCount ? dataSectors + k : kFree);

    Output out(path);
    out.put(header, sizeof header);
    if (interleaved_) {
        // One sector of each stream in turn, in the order the layout gave.
        std::vector<std::uint64_t> done(entries_.size(), 0);
        unsigned char piece[kSector];
        for (bool more = true; more;) {
            more = false;
            for (size_t i : large) {
                const Entry& entry = entries_[i];
                if (done[i] >= entry.size)
                    continue;
                const size_t n = size_t(std::min<std::uint64_t>(entry.size - done[i], kSector));
                std::memset(piece, 0, sizeof piece);
                entry.fill(piece, n);
                out.put(piece, kSector);
                done[i] += n;
                more = more || done[i] < entry.size;
            }
        }
    } else {
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[1 << 20]);
        for (size_t i : large) {
            const Entry& entry = entries_[i];
            for (std::uint64_t done = 0; done < entry.size;) {
                const size_t n = size_t(std::min<std::uint64_t>(entry.size - done, 1 << 20));
                entry.fill(buffer.get(), n);
                out.put(buffer.get(), n);
                done += n;
            }
            out.padTo(kSector);
        }
    }
    out.put(miniStream.data(), miniStream.size());
    out.padTo(kSector);
    out.put(miniFatBytes.data(), miniFatBytes.size());
    out.put(directory.data(), directory.size());

    // The FAT, sector by sector: chains, then the FAT's and DIFAT's own marks.
    std::vector<std::uint32_t> fat(size_t(fatCount) * kPerFatSector, kFree);
    for (const auto& [first, count] : chains) {
        for (std::uint32_t k = 0; k < count; ++k)
            fat[first + k] = k + 1 == count ? kEndOfChain : first + k + 1;
    }
    for (size_t i : large) {
        const std::vector<std::uint32_t>& sectors = largeSectors[i];
        for (size_t k = 0; k < sectors.size(); ++k)
            fat[sectors[k]] = k + 1 == sectors.size() ? kEndOfChain : sectors[k + 1];
    }
    for (std::uint32_t k = 0; k < fatCount; ++k)
        fat[dataSectors + k] = kFatMark;
    for (std::uint32_t k = 0; k < difatCount; ++k)
        fat[dataSectors + fatCount + k] = kDifatMark;
    std::vector<unsigned char> sector(kSector);
    for (std::uint32_t k = 0; k < fatCount; ++k) {
        for (std::uint32_t e = 0; e < kPerFatSector; ++e)
            put32(sector.data() + 4 * e, fat[size_t(k) * kPerFatSector + e]);
        out.put(sector.data(), kSector);
    }
    std::uint32_t listed = 109;
    for (std::uint32_t k = 0; k < difatCount; ++k) {
        std::fill(sector.begin(), sector.end(), 0xFF);
        for (std::uint32_t e = 0; e + 1 < kPerFatSector && listed < fatCount; ++e)
            put32(sector.data() + 4 * e, dataSectors + listed++);
        put32(sector.data() + kSector - 4, k + 1 < difatCount ? dataSectors + fatCount + k + 1 : kEndOfChain);
        out.put(sector.data(), kSector);
    }
    return out.finish();
}

} // namespace bench
