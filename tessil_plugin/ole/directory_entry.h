#pragma once

// One 128-byte entry of a compound file's directory.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DirectoryEntry
{
    static constexpr std::size_t kSize = 128;
    static constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

    bool valid = false;      // a storage, stream or root with a non-empty name
    std::string name;        // low byte of each UTF-16 unit; a leading control character removed
    // The name as stored, every UTF-16 unit up to its terminator, when
    // `name` does not spell it (a unit outside ASCII or a control
    // character); empty otherwise. See directory_entry_stored_name().
    std::u16string stored_name;
    std::array<unsigned char, 16> clsid = {}; // a storage's class id, as stored
    bool is_storage = true;  // everything that is not a stream
    std::uint32_t size = 0;  // low 32 bits of the stream size
    std::uint32_t start = 0;
    std::uint32_t left = kNoEntry;
    std::uint32_t right = kNoEntry;
    std::uint32_t child = kNoEntry;
};

// The name as stored: what a copy of the entry into another file carries.
std::u16string directory_entry_stored_name(const DirectoryEntry& entry);

// Decodes one entry from `kSize` bytes.
DirectoryEntry directory_entry_decode(const unsigned char* bytes);

// The children of `parent`, in listing order: the child, then its left
// branch, then its right branch, depth first. A link to entry 0, outside the
// directory, to an invalid entry or to an entry already listed ends its
// branch. Iterative, so a hostile tree cannot exhaust the stack.
std::vector<std::uint32_t> directory_children(const std::vector<DirectoryEntry>& directory, std::uint32_t parent);
