#pragma once

// The compound file of a .msg message as its reader needs it: storages and
// streams found by name, and stream bytes that share the file's buffer
// where they lie in one piece (a large attachment is never copied).
//
// Everything read from one file together stays within a budget of about
// twice the file's size: a well-formed file reads each of its bytes once,
// while a hostile one can make many streams share the same sectors or
// claim sizes it does not hold. Past the budget, streams read as cut short.

#include "ole/compound_file.h"
#include "ole/directory_tree.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

class MsgContainer
{
public:
    // Keeps a reference to `bytes` (no copy); streams may share its buffer.
    explicit MsgContainer(const QByteArray& bytes);
    MsgContainer(const MsgContainer&) = delete;
    MsgContainer& operator=(const MsgContainer&) = delete;

    // Loads the compound file; false when it is none or its header is unusable.
    bool open();

    // The child of `storage` (0 is the root) named `name` in any letter
    // case; DirectoryEntry::kNoEntry when there is none.
    std::uint32_t find(std::uint32_t storage, std::string_view name) const;
    // The children of a storage, in listing order.
    const std::vector<std::uint32_t>& children(std::uint32_t storage) const;
    const DirectoryEntry& entry(std::uint32_t index) const;
    // How many entries the directory has.
    std::size_t entryCount() const { return file_.directory().size(); }

    // The bytes of the stream at `index`: none for a storage or an index
    // outside. A stream whose chain or data ends before its recorded size,
    // or that the budget cuts, gives what could be read and marks the file
    // as cut short.
    std::optional<QByteArray> stream(std::uint32_t index);
    // The stream named `name` in `storage`.
    std::optional<QByteArray> stream(std::uint32_t storage, std::string_view name);

    // Whether some stream held fewer bytes than its entry said.
    bool cutShort() const { return cutShort_; }

private:
    QByteArray bytes_;
    CompoundFile file_;
    std::unique_ptr<DirectoryTree> tree_;
    std::uint64_t budget_ = 0;
    bool cutShort_ = false;
};
