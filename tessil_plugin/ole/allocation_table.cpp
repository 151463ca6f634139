#include "ole/allocation_table.h"

#include "ole/little_endian.h"

#include <algorithm>

std::vector<std::uint32_t> allocation_chain(const AllocationTable& table, std::uint32_t start)
{
    std::vector<std::uint32_t> chain;
    // One flag per table entry keeps loop detection linear on hostile chains.
    std::vector<bool> seen;
    std::uint32_t sector = start;
    while (sector < table.size()) {
        if (sector == ole_sector::kEndOfChain || sector == ole_sector::kFat || sector == ole_sector::kDifat)
            break;
        if (seen.empty())
            seen.assign(table.size(), false);
        if (seen[sector])
            break;
        seen[sector] = true;
        chain.push_back(sector);
        sector = table[sector];
    }
    return chain;
}

ChainWalker::ChainWalker(const AllocationTable& table)
    : table_(&table)
{
}

std::vector<std::uint32_t> ChainWalker::chain(std::uint32_t start, std::uint64_t maxLength)
{
    std::vector<std::uint32_t> chain;
    const AllocationTable& table = *table_;
    if (start >= table.size() || maxLength == 0)
        return chain;
    if (marks_.empty())
        marks_.assign(table.size(), 0);
    if (++pass_ == 0) {
        std::fill(marks_.begin(), marks_.end(), 0);
        pass_ = 1;
    }
    std::uint32_t sector = start;
    while (sector < table.size() && chain.size() < maxLength) {
        if (sector == ole_sector::kEndOfChain || sector == ole_sector::kFat || sector == ole_sector::kDifat)
            break;
        if (marks_[sector] == pass_)
            break;
        marks_[sector] = pass_;
        chain.push_back(sector);
        sector = table[sector];
    }
    return chain;
}

void allocation_append_entries(AllocationTable& table, const std::vector<unsigned char>& bytes)
{
    const std::size_t count = bytes.size() / 4;
    table.reserve(table.size() + count);
    for (std::size_t i = 0; i < count; ++i)
        table.push_back(ole_read_u32(bytes.data() + 4 * i));
}
