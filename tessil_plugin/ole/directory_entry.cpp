#include "ole/directory_entry.h"

#include "ole/little_endian.h"

#include <algorithm>

namespace {

constexpr std::size_t kNameBytes = 64;
constexpr unsigned char kTypeStorage = 1;
constexpr unsigned char kTypeStream = 2;
constexpr unsigned char kTypeRoot = 5;

} // namespace

DirectoryEntry directory_entry_decode(const unsigned char* bytes)
{
    DirectoryEntry entry;
    std::size_t nameLength = ole_read_u16(bytes + 64);
    if (nameLength > kNameBytes)
        nameLength = kNameBytes;
    const unsigned char type = bytes[66];

    for (std::size_t offset = 0; offset < nameLength; offset += 2) {
        const unsigned char low = bytes[offset];
        if (low == 0)
            break;
        entry.name.push_back(static_cast<char>(low));
    }
    // Kept apart only where `name` loses something: a directory of
    // thousands of plain names costs no second copy.
    bool plain = true;
    std::size_t units = 0;
    for (std::size_t offset = 0; offset < nameLength; offset += 2, ++units) {
        const std::uint16_t unit = ole_read_u16(bytes + offset);
        if (unit == 0)
            break;
        plain = plain && unit >= 32 && unit < 127;
    }
    if (!plain) {
        for (std::size_t k = 0; k < units; ++k)
            entry.stored_name.push_back(static_cast<char16_t>(ole_read_u16(bytes + 2 * k)));
    }
    // Some stream names (such as "\x01Ole10Native") begin with a control
    // character that paths never spell.
    if (!entry.name.empty() && static_cast<unsigned char>(entry.name[0]) < 32)
        entry.name.erase(0, 1);

    entry.valid = (type == kTypeStorage || type == kTypeStream || type == kTypeRoot) && nameLength != 0;
    entry.is_storage = type != kTypeStream;
    entry.left = ole_read_u32(bytes + 68);
    entry.right = ole_read_u32(bytes + 72);
    entry.child = ole_read_u32(bytes + 76);
    std::copy(bytes + 80, bytes + 96, entry.clsid.begin());
    entry.start = ole_read_u32(bytes + 116);
    entry.size = ole_read_u32(bytes + 120);
    return entry;
}

std::u16string directory_entry_stored_name(const DirectoryEntry& entry)
{
    if (!entry.stored_name.empty())
        return entry.stored_name;
    return std::u16string(entry.name.begin(), entry.name.end());
}

std::vector<std::uint32_t> directory_children(const std::vector<DirectoryEntry>& directory, std::uint32_t parent)
{
    std::vector<std::uint32_t> listed;
    if (parent >= directory.size())
        return listed;

    std::vector<bool> seen(directory.size(), false);
    std::vector<std::uint32_t> pending;
    pending.push_back(directory[parent].child);
    while (!pending.empty()) {
        const std::uint32_t index = pending.back();
        pending.pop_back();
        if (index == 0 || index >= directory.size() || !directory[index].valid || seen[index])
            continue;
        seen[index] = true;
        listed.push_back(index);
        // The left branch is listed before the right one.
        pending.push_back(directory[index].right);
        pending.push_back(directory[index].left);
    }
    return listed;
}
