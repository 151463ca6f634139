#pragma once

// A FAT or mini FAT: one next-sector number per sector.

#include <cstdint>
#include <vector>

using AllocationTable = std::vector<std::uint32_t>;

namespace ole_sector {
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFat = 0xFFFFFFFD;
constexpr std::uint32_t kDifat = 0xFFFFFFFC;
} // namespace ole_sector

// The sectors of the chain that starts at `start`. The chain ends at an
// end-of-chain, FAT or DIFAT marker, at a number outside the table and where
// it would revisit a sector, so its length never exceeds the table's.
std::vector<std::uint32_t> allocation_chain(const AllocationTable& table, std::uint32_t start);

// Walks many chains of one table, each in time proportional to its own
// length rather than the table's: a file with thousands of streams must not
// cost thousands of table-sized loop checks. Chains end as allocation_chain()
// ends them, and after `maxLength` sectors. The table must outlive the walker.
class ChainWalker
{
public:
    explicit ChainWalker(const AllocationTable& table);
    std::vector<std::uint32_t> chain(std::uint32_t start, std::uint64_t maxLength);

private:
    const AllocationTable* table_;
    // The pass that last visited each sector; a pass number never repeats
    // until the marks are cleared, after 2^32 - 1 passes.
    std::vector<std::uint32_t> marks_;
    std::uint32_t pass_ = 0;
};

// Appends the little-endian u32 entries of `bytes` to `table`.
void allocation_append_entries(AllocationTable& table, const std::vector<unsigned char>& bytes);
