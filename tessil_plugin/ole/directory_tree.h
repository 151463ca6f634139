#pragma once

// The storages of a compound file and what each holds, found in one walk
// from the root over the whole directory. A reader that visits many
// storages (a message with hundreds of attachments and recipients) looks
// children up by name without walking sibling trees again.
//
// Every entry is listed under the first storage that reaches it, at most
// once in the whole tree: an entry linked from two storages, or a storage
// that holds itself or one of its ancestors, cannot make a walk over the
// tree revisit anything. The sibling links follow the rules of
// directory_children(): a link to entry 0, outside the directory or to an
// invalid entry ends its branch.

#include "ole/directory_entry.h"

#include <cstdint>
#include <string_view>
#include <vector>

class DirectoryTree
{
public:
    // The directory must outlive the tree.
    explicit DirectoryTree(const std::vector<DirectoryEntry>& directory);

    // The entries held by storage `index` (0 is the root), in listing order;
    // empty for a stream, an entry no walk reached and an index outside.
    const std::vector<std::uint32_t>& children(std::uint32_t index) const;

    // The child of `storage` named `name`, compared as the format compares
    // names (ASCII letters in either case), or DirectoryEntry::kNoEntry. Of
    // two children with one name, the later listed wins.
    std::uint32_t find(std::uint32_t storage, std::string_view name) const;

private:
    const std::vector<DirectoryEntry>& directory_;
    std::vector<std::vector<std::uint32_t>> children_;
    // Per storage, its children ordered by name for find(); equal names keep
    // their listing order.
    std::vector<std::vector<std::uint32_t>> byName_;
};
