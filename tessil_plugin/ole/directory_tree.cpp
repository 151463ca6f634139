#include "ole/directory_tree.h"

#include <algorithm>

namespace {

char folded(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool lessFolded(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return folded(x) < folded(y); });
}

const std::vector<std::uint32_t> kNone;

} // namespace

DirectoryTree::DirectoryTree(const std::vector<DirectoryEntry>& directory)
    : directory_(directory)
    , children_(directory.size())
    , byName_(directory.size())
{
    if (directory.empty())
        return;
    std::vector<bool> seen(directory.size(), false);
    seen[0] = true;
    std::vector<std::uint32_t> storages{0};
    std::vector<std::uint32_t> pending;
    while (!storages.empty()) {
        const std::uint32_t storage = storages.back();
        storages.pop_back();
        std::vector<std::uint32_t>& listed = children_[storage];
        pending.assign(1, directory[storage].child);
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
            if (directory[index].is_storage)
                storages.push_back(index);
        }
        std::vector<std::uint32_t>& sorted = byName_[storage];
        sorted = listed;
        std::stable_sort(sorted.begin(), sorted.end(), [&directory](std::uint32_t a, std::uint32_t b) {
            return lessFolded(directory[a].name, directory[b].name);
        });
    }
}

const std::vector<std::uint32_t>& DirectoryTree::children(std::uint32_t index) const
{
    return index < children_.size() ? children_[index] : kNone;
}

std::uint32_t DirectoryTree::find(std::uint32_t storage, std::string_view name) const
{
    if (storage >= byName_.size())
        return DirectoryEntry::kNoEntry;
    const std::vector<std::uint32_t>& sorted = byName_[storage];
    const auto end = std::upper_bound(sorted.begin(), sorted.end(), name, [this](std::string_view key, std::uint32_t entry) {
        return lessFolded(key, directory_[entry].name);
    });
    if (end == sorted.begin() || lessFolded(directory_[*(end - 1)].name, name))
        return DirectoryEntry::kNoEntry;
    return *(end - 1);
}
