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

// Appends the little-endian u32 entries of `bytes` to `table`.
void allocation_append_entries(AllocationTable& table, const std::vector<unsigned char>& bytes);
